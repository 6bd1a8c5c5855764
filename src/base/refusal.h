// Why something was refused: one value for every layer and every front end.
// The readers, the engine, the writers and the command-line parsers return
// it; the window shows its message in a box, the status bar, the tool and the
// module add its way out. A caller that acts on the reason reads the code and
// where it happened.
#ifndef QUILANE_BASE_REFUSAL_H_
#define QUILANE_BASE_REFUSAL_H_

#include <string>
#include <string_view>
#include <utility>

namespace quilane {

enum class RefusalCode {
  // Arguments.
  kUsage,  // a command line or an argument of a call that the front end does not take

  // Inputs.
  kUnreadableFile,   // the file cannot be opened or read: missing, a folder, a pipe, a read error
  kNotPlainText,     // UTF-16 text, or a NUL byte (line)
  kMalformedFile,    // the text breaks the layout of its format (line)
  kUnusableContour,  // the points make no contour: too few or many, chord 0, no nose, too far out
  kUnknownSection,   // a section designation or point count the NACA generator does not make

  // Settings of a run.
  kNoContour,        // no file read yet
  kPointCount,       // the number of new points is not a whole number 2..1000
  kDegree,           // the Lagrange degree is not a whole number 0 or more
  kDegreeNotBelowN,  // the Lagrange degree is not lower than N

  // The calculation (index: the point or station named).
  kNoseAtEnd,          // the contour's nose is its first or last point `index`
  kSurfacesCross,      // panel `index` crosses a later panel of the contour
  kUpperSurfaceFirst,  // mapping route: the contour runs upper surface first
  kOutsideChord,       // along the chord: input point `index` lies outside 0..1
  kNoChordLine,        // mapping route: the nose coincides with the trailing edge
  kSingularPoint,      // mapping route: input point `index` on the singular point
  kOutOfOrder,         // the curve does not rise from input point `index` to the next
  kStationOutOfRange,  // no interval holds station `index`
  kSingularStation,    // mapping back: station `index` is on the singular point
  kNonFinitePoint,     // new point `index` is not a finite number
  kNonFiniteCamber,    // camber point `index` is not a finite number
  kDeviationTooLarge,  // new point `index` lies farther off than the tolerance asked for

  // Outputs.
  kBadFileName,     // no name, a folder's name, a folder that does not exist
  kWriteFailed,     // the system refused to write or rename the file
  kReplacesInput,   // the target is the file the section was read from
  kReplacesResult,  // the target holds a result written earlier in the same run
};

// What the person can do instead, where the program knows a way.
enum class WayOut {
  kNone,
  kConformalMapping,  // the route along the chord cannot take this section; the mapping can
};

struct Refusal {
  Refusal() = default;
  Refusal(RefusalCode code, std::string message) : code(code), message(std::move(message)) {}

  RefusalCode code = RefusalCode::kUsage;
  // Where: the file concerned as the person named it ("" for none), its line
  // (from 1; 0 for none), and the input point, station, new point or camber
  // point the code names (from 1; 0 for none).
  std::string file;
  long long line = 0;
  int index = 0;
  // What is wrong and what to do about it, as the window's message box shows it.
  std::string message;
  WayOut way_out = WayOut::kNone;
  // Why the way out applies to this section, a sentence without its full
  // stop; "" when the code says enough.
  std::string way_out_reason;
};

// A refusal of the file `file` at its line `line` (0 for none).
Refusal FileRefusal(RefusalCode code, std::string file, long long line, std::string message);

// A refusal that names the input point, station, new point or camber point
// `index` (from 1).
Refusal PointRefusal(RefusalCode code, int index, std::string message);

// The way out as a sentence, with the words `mapping_action` for how this
// front end turns conformal mapping on ("use --mapping", "tick Conformal
// Mapping and calculate again"): "For this section use --mapping.", led by
// the reason when there is one ("The contour's ...; for this section use
// --mapping."). Empty when the refusal has no way out.
std::string WayOutText(const Refusal& refusal, std::string_view mapping_action);

// The message followed by the way out on a line of its own, when it has one.
std::string MessageWithWayOut(const Refusal& refusal, std::string_view mapping_action);

// The first line of the message.
std::string FirstLine(const std::string& message);

}  // namespace quilane

#endif  // QUILANE_BASE_REFUSAL_H_
