// Running the calculation without a window, as the command-line tool and the
// Python module do: a generated NACA section loaded as an input, the run
// driven by fixed settings, and the guard that keeps a result from replacing
// the file it was read from.
#ifndef QUILANE_APP_BATCH_RUN_H_
#define QUILANE_APP_BATCH_RUN_H_

#include <string>
#include <string_view>
#include <vector>

#include "engine/quality_report.h"
#include "files/file_result.h"
#include "sections/naca_section.h"
#include "workspace/airfoil_workspace.h"

namespace quilane {

// The settings a person would leave in the window, as text where the window
// has a text box: Text_NI, Chk_Mapping, the Lagrange or the spline option
// and Text_nPoly (read only with Lagrange). `mapping_choice` is how this
// front end turns conformal mapping on ("--mapping", "mapping=True"), named
// in the advice that follows a refusal of the route along the chord.
struct BatchSettings {
  std::string ni_text = "51";
  bool mapping = false;
  bool lagrange = true;
  std::string npoly_text = "1";
  std::string mapping_choice = "--mapping";
  bool report = false;  // measure the quality report of the new points
};

// Redistributes the contour loaded in `ws` (Pi set) with `settings` through
// Redistribute, the value-level run, and on success stores the new points,
// the camber line and the plot title in `ws` (StoreRedistribution) and, when
// asked for, the quality report in `report`. The typed settings are read as
// the window reads them. On a refusal `messages` receives the run's message
// and, when the route along the chord cannot take the contour (a station out
// of range, an x outside the chord, abscissae out of order), a second one
// naming `mapping_choice`; the workspace is unchanged.
bool RunBatchCalculation(AirfoilWorkspace& ws, const BatchSettings& settings,
                         std::vector<std::string>& messages, QualityReport* report = nullptr);

// Generates the NACA section `code` (NacaSection) with `points` points and
// loads it as a click in the file list loads a file, with an empty
// InputPath: StoreContour, then MakeStoredContourCurrent. A refused code or
// count gives the generator's message (with a full stop) and changes
// nothing.
FileResult LoadNacaInput(AirfoilWorkspace& ws, std::string_view code, int points,
                         TrailingEdge trailing_edge);

// Layouts of the new-point file: the program's own *.arf, or a Selig .dat
// file (a name line and "x y" lines, upper surface first).
enum class ResultFormat { kArf, kSelig };

// The camber file beside the new-point file `output`: CamberFileName, with
// the extension ".arf" for a Selig result (the camber line is always written
// in the program's own layout).
std::string CamberOutputName(const std::string& output, ResultFormat format);

// The text of the new points (PlotTitle, NI, XI, YI) in `format`, as the file
// would hold it: ResultFileText or SeligFileText.
std::string ResultText(const AirfoilWorkspace& ws, ResultFormat format);

// Writes the new points to SaveName in `format` (WriteResultFiles or
// WriteSeligFile) and the camber line to CamberName as *.arf, each through a
// temporary file renamed into place; the camber file is not attempted after
// a refused new-point file. Changes nothing in the workspace.
FileResult WriteResult(const AirfoilWorkspace& ws, ResultFormat format);

// Refuses to write `target` when it exists and is the file `input` (through
// links, "./" and the like), the input of the result about to be written:
// "The output "target" is the input file input; choose another output name
// so the input is not overwritten." A missing target, or an empty `input`
// (a generated section), passes.
FileResult CheckNotTheInput(const std::string& target, const std::string& input);

}  // namespace quilane

#endif  // QUILANE_APP_BATCH_RUN_H_
