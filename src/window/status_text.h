// The one line of the window's status bar: each event that reports there
// composes its line here, in one function per event.
#ifndef QUILANE_WINDOW_STATUS_TEXT_H_
#define QUILANE_WINDOW_STATUS_TEXT_H_

#include <string>

#include "base/refusal.h"
#include "engine/quality_report.h"
#include "engine/redistribute.h"
#include "files/coordinate_file.h"

namespace quilane {

// The hint shown until the first file is read.
std::string StartHint();

// What a load read, e.g. "Read e387.dat: Selig, 61 points, nose at point 31,
// trailing edge gap 0.00000, 2 lines of notes ignored". `file_name` is the
// name shown (no folder).
std::string LoadStatus(const std::string& file_name, const LoadSummary& summary);

// The result of a run that replaced the new points: their number, the route
// and the method of `settings`, e.g. "51 new points, conformal mapping,
// Lagrange nPoly = 1", then the report's warning, when it has one, and the
// report's line, each after a semicolon.
std::string RunStatus(const RedistributeSettings& settings, const QualityReport& report);

// Both files a save wrote, given by their absolute paths, named with the
// folder they went to: "Saved new.arf and Camber_new.arf in /home/me/wing".
std::string SaveStatus(const std::string& coordinate_file, const std::string& camber_file);

// A save given up to keep an existing file: "Nothing saved; NAME is kept as
// it was".
std::string KeptStatus(const std::string& existing_file);

// The picture an export wrote: "Exported the plot to NAME".
std::string ExportStatus(const std::string& picture_file);

// A refusal: the first line of its message, then its way out, when it has
// one, in the window's words ("... \u2014 For this section tick Conformal
// Mapping and calculate again.").
std::string RefusalStatus(const Refusal& refusal);

}  // namespace quilane

#endif  // QUILANE_WINDOW_STATUS_TEXT_H_
