// What the front ends without a window say and write for each input of a
// run: the NACA section they generate for a code, the report lines of an
// input and the result file named after it. The command-line tool and the
// web page share them, so a file gives the same lines and names in both.
#ifndef QUILANE_APP_BATCH_OUTPUT_H_
#define QUILANE_APP_BATCH_OUTPUT_H_

#include <string>
#include <string_view>

#include "base/refusal.h"
#include "engine/quality_report.h"
#include "files/result_file_writer.h"

namespace quilane {

// Points of a section generated from a NACA code as an input: cosine spaced,
// sharp trailing edge, within the 250 knots of the piecewise cubic
// interpolation.
inline constexpr int kNacaInputPoints = 201;

// The name a generated section's results are named after: "naca" followed
// by the digits of its title ("NACA 2412" -> "naca2412").
std::string GeneratedInputName(const std::string& title);

// The result file of the input named `name` (a file name without folder, or
// GeneratedInputName): a *.arf input (`arf_input`) keeps its name for arf
// results; otherwise the name without its extension followed by ".arf" or
// ".dat" for the format ("e387.dat" -> "e387.arf", "naca2412" ->
// "naca2412.dat"). The camber file beside it is CamberOutputName's.
std::string ResultFileName(const std::string& name, bool arf_input, ResultFormat format);

// The refusal of an input of a run whose result file `target` would replace
// the result of an earlier input of the same run (kReplacesResult).
Refusal EarlierResultRefusal(const std::string& target);

// The report of the input called `label`, as --report prints it: "LABEL:
// <DescribeReport>\n", followed by "LABEL: warning: <QualityWarning>\n" when
// there is a warning, its way out in the words `on_spline_action`.
std::string ReportLines(const std::string& label, const QualityReport& report,
                        std::string_view on_spline_action);

}  // namespace quilane

#endif  // QUILANE_APP_BATCH_OUTPUT_H_
