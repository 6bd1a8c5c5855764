#include "files/dat_file_reader.h"

#include <cmath>
#include <cstddef>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "files/airfoil_file_reader.h"
#include "files/contour_store.h"
#include "files/number_text.h"
#include "files/text_source.h"

namespace quilane {
namespace {

// Longest line and longest number accepted, in characters, as for the *.arf
// files: they keep the memory and time spent on a file that is not a
// coordinate file small.
constexpr std::size_t kMaxLineCharacters = 1000;
constexpr std::size_t kMaxFieldCharacters = 400;

// Coordinate lines read at most: room for every point twice (repeats are
// dropped afterwards), while the memory stays bounded.
constexpr std::size_t kMaxCoordinateLines = 2 * kPointCapacity;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsSeparator(char c) { return IsBlank(c) || c == ','; }

enum class LineStatus { kLine, kEnd, kTooLong };

// Takes one line, without its end, into `line`. kEnd when nothing is left.
LineStatus ReadLine(TextSource& source, std::string& line) {
  line.clear();
  if (source.Peek() == TextSource::kEnd) return LineStatus::kEnd;
  std::size_t characters = 0;
  for (int c = source.Get(); c != TextSource::kEnd && c != '\n'; c = source.Get()) {
    line.push_back(static_cast<char>(c));
    if (StartsCharacter(static_cast<char>(c)) && ++characters > kMaxLineCharacters) {
      return LineStatus::kTooLong;
    }
  }
  return LineStatus::kLine;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The fields of a line: runs of characters between blanks, tabs and commas.
std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsSeparator(line[i])) ++i;
    const std::size_t start = i;
    while (i < line.size() && !IsSeparator(line[i])) ++i;
    if (i > start) fields.push_back(line.substr(start, i - start));
  }
  return fields;
}

// A field as shown in a message: quoted, long ones shortened.
std::string Shown(std::string_view field) {
  constexpr std::size_t kShownBytes = 40;
  if (field.size() <= kShownBytes) return "\"" + std::string(field) + "\"";
  std::size_t cut = kShownBytes;
  while (cut > 0 && !StartsCharacter(field[cut])) --cut;
  return "\"" + std::string(field.substr(0, cut)) + "...\"";
}

struct Point {
  double x = 0.0;
  double y = 0.0;
  long long line = 0;
};

// A count of the Lednicer layout: a whole number of at least 2.
bool IsSurfaceCount(double value) { return value >= 2.0 && value == std::floor(value); }

class DatReader {
 public:
  DatReader(const std::string& path, TextSource& source) : path_(path), source_(source) {}

  FileResult Read(DatContour& contour) {
    if (!source_.TakeByteOrderMark()) {
      return Refuse("is UTF-16 text (it starts with a UTF-16 byte-order mark, line 1); "
                    "save it as plain text (UTF-8 or ASCII) and choose it again.");
    }
    std::vector<Point> points;
    long long name_line = 0;
    std::string line;
    for (;;) {
      const long long number = source_.line();
      const LineStatus status = ReadLine(source_, line);
      if (const auto fault = SourceFault(source_)) return Refuse(*fault);
      if (status == LineStatus::kEnd) break;
      if (status == LineStatus::kTooLong) {
        return Refuse("has more than " + FormatWhole(kMaxLineCharacters) +
                      " characters on line " + FormatWhole(number) +
                      "; a coordinate file has short lines.");
      }
      const std::string_view text = Trimmed(line);
      if (text.empty() || text.front() == '#') continue;  // blank line or comment
      const std::vector<std::string_view> fields = Fields(text);
      if (name_line == 0) {
        if (fields.size() == 2 && ParseNumberField(fields[0]).kind == FieldNumber::Kind::kNumber &&
            ParseNumberField(fields[1]).kind == FieldNumber::Kind::kNumber) {
          return Refuse("has two numbers on line " + FormatWhole(number) +
                        " where the section's name should stand; put the name on a line "
                        "of its own before the coordinates.");
        }
        name_line = number;
        contour.title = std::string(text);
        continue;
      }
      if (points.size() == kMaxCoordinateLines) {
        return Refuse("has more than " + FormatWhole(kMaxCoordinateLines) +
                      " coordinate lines (line " + FormatWhole(number) + " is one too many); " +
                      "the program holds at most " + FormatWhole(kPointCapacity) + " points.");
      }
      Point point;
      point.line = number;
      if (const auto refused = ParsePoint(fields, number, point)) return *refused;
      points.push_back(point);
    }
    if (name_line == 0) {
      return Refuse("holds no name line and no coordinates (line " +
                    FormatWhole(source_.EndLine()) + "); choose a coordinate file.");
    }
    if (points.empty()) {
      return Refuse("has no coordinate lines after its name on line " +
                    FormatWhole(name_line) + "; add the points as \"x y\" lines.");
    }

    std::vector<Point> loop;
    if (const auto refused = JoinSurfaces(points, contour, loop)) return *refused;
    contour.first_line = points.front().line;
    contour.last_line = points.back().line;
    return Finish(loop, contour);
  }

  FileResult Refuse(const std::string& what) const {
    return FileResult::Failure("The airfoil file \"" + path_ + "\" " + what);
  }

 private:
  // x and y of a coordinate line, or the refusal.
  std::optional<FileResult> ParsePoint(const std::vector<std::string_view>& fields,
                                       long long number, Point& point) const {
    const std::string where = " on line " + FormatWhole(number);
    if (fields.size() != 2) {
      std::string what = FormatWhole(static_cast<long long>(fields.size())) + " fields";
      if (fields.size() == 1) {
        what = "one field";
        if (ParseNumberField(fields[0]).kind == FieldNumber::Kind::kNumber) {
          what = "a single number (like the point count of a *.arf file)";
        }
      }
      return Refuse("has " + what + where + "; every coordinate line holds x and y.");
    }
    static constexpr const char* kNames[2] = {"x value", "y value"};
    double* targets[2] = {&point.x, &point.y};
    for (int k = 0; k < 2; ++k) {
      if (fields[k].size() > kMaxFieldCharacters) {
        return Refuse("has more than " + FormatWhole(kMaxFieldCharacters) +
                      " characters in the " + kNames[k] + where + "; correct the file.");
      }
      const FieldNumber value = ParseNumberField(fields[k]);
      if (value.kind != FieldNumber::Kind::kNumber) {
        const char* kind = value.kind == FieldNumber::Kind::kNotFinite ? "not a finite number"
                                                                       : "not a number";
        return Refuse("has the " + std::string(kNames[k]) + " " + Shown(fields[k]) +
                      ", which is " + kind + "," + where +
                      "; every coordinate line holds x and y as decimal numbers.");
      }
      *targets[k] = value.value;
    }
    return std::nullopt;
  }

  // Decides the layout and joins the surfaces into one loop from the
  // trailing edge over the first surface and the nose to the trailing edge.
  // Removes the count line of a Lednicer file from `points`.
  std::optional<FileResult> JoinSurfaces(std::vector<Point>& points, DatContour& contour,
                                         std::vector<Point>& loop) const {
    const Point head = points.front();
    if (!IsSurfaceCount(head.x) || !IsSurfaceCount(head.y)) {
      contour.layout = DatLayout::kSelig;
      loop = points;
      return std::nullopt;
    }
    const double following = static_cast<double>(points.size() - 1);
    if (head.x + head.y != following) {
      const std::string lines =
          points.size() > 1 ? " (lines " + FormatWhole(points[1].line) + " to " +
                                  FormatWhole(points.back().line) + ")"
                            : "";
      return Refuse("gives the surface counts " + FormatMessageNumber(head.x) + " and " +
                    FormatMessageNumber(head.y) + " on line " + FormatWhole(head.line) +
                    ", which make " + FormatMessageNumber(head.x + head.y) + " points, but " +
                    FormatWhole(static_cast<long long>(points.size() - 1)) +
                    " coordinate lines follow" + lines +
                    "; correct the counts or the points.");
    }
    contour.layout = DatLayout::kLednicer;
    points.erase(points.begin());
    const auto first = static_cast<std::ptrdiff_t>(head.x);
    loop.assign(points.rbegin() + (static_cast<std::ptrdiff_t>(points.size()) - first),
                points.rend());
    loop.insert(loop.end(), points.begin() + first, points.end());
    return std::nullopt;
  }

  FileResult Finish(const std::vector<Point>& loop, DatContour& contour) const {
    contour.x.clear();
    contour.y.clear();
    contour.x.reserve(loop.size());
    contour.y.reserve(loop.size());
    for (const Point& p : loop) {
      contour.x.push_back(p.x);
      contour.y.push_back(p.y);
    }
    const LoopOrder order = PutLoopInProgramOrder(contour.x, contour.y);
    contour.dropped = order.dropped;
    contour.reversed = order.twice_area < 0.0;  // the upper surface is the layout's first
    const std::size_t kept = contour.x.size();
    const std::string lines = "lines " + FormatWhole(contour.first_line) + " to " +
                              FormatWhole(contour.last_line);
    if (kept > static_cast<std::size_t>(kPointCapacity)) {
      return Refuse("has " + FormatWhole(static_cast<long long>(kept)) + " points (" + lines +
                    "); the program holds at most " + FormatWhole(kPointCapacity) +
                    " points.");
    }
    if (kept < 2) {
      return Refuse("has a single point (line " + FormatWhole(loop.front().line) +
                    "); a contour needs at least 2 points.");
    }
    return FileResult::Success();
  }

  const std::string& path_;
  TextSource& source_;
};

}  // namespace

namespace {

// ReadDatContour on a source made on `path`, at the start of the file.
FileResult ReadDatSource(const std::string& path, TextSource& source, DatContour& contour) {
  DatContour read;
  DatReader reader(path, source);
  FileResult result = reader.Read(read);
  if (result.ok) contour = std::move(read);
  return result;
}

// ReadDatFile on a source made on `path`, at the start of the file.
FileResult ReadDatFileSource(AirfoilWorkspace& ws, const std::string& path, TextSource& source) {
  DatContour contour;
  FileResult result = ReadDatSource(path, source, contour);
  if (!result.ok) return result;
  const ContourOrigin origin{"The airfoil file \"" + path + "\"",
                             "lines " + FormatWhole(contour.first_line) + " to " +
                                 FormatWhole(contour.last_line)};
  return StoreContour(ws, std::move(contour.title), contour.x, contour.y, origin);
}

// LoadDatFile on a source made on `path`, at the start of the file.
FileResult LoadDatFileSource(AirfoilWorkspace& ws, const std::string& path, TextSource& source) {
  FileResult result = ReadDatFileSource(ws, path, source);
  if (!result.ok) return result;
  ws.InputPath = path;
  MakeStoredContourCurrent(ws);
  return FileResult::Success();
}

// DetectCoordinateFormat on a source at the start of the file.
CoordinateFormat DetectFormat(TextSource& source) {
  if (!source.TakeByteOrderMark()) return CoordinateFormat::kArf;
  bool name_seen = false;
  std::string line;
  while (ReadLine(source, line) == LineStatus::kLine) {
    const std::string_view text = Trimmed(line);
    if (text.empty() || text.front() == '#') continue;
    if (!name_seen) {
      name_seen = true;
      continue;
    }
    const std::vector<std::string_view> fields = Fields(text);
    const bool pair = fields.size() == 2 &&
                      ParseNumberField(fields[0]).kind == FieldNumber::Kind::kNumber &&
                      ParseNumberField(fields[1]).kind == FieldNumber::Kind::kNumber;
    return pair ? CoordinateFormat::kDat : CoordinateFormat::kArf;
  }
  return CoordinateFormat::kArf;
}

// Loads the file `path` as `format` from `source`, rewound to its start.
FileResult LoadAs(AirfoilWorkspace& ws, const std::string& path, CoordinateFormat format,
                  TextSource& source) {
  source.Rewind();
  if (format == CoordinateFormat::kDat) return LoadDatFileSource(ws, path, source);
  std::string earlier_path = std::move(ws.InputPath);
  ws.InputPath = path;
  FileResult result = ReadAirfoilSource(ws, source);
  if (result.ok) {
    MakeStoredContourCurrent(ws);
  } else {
    ws.InputPath = std::move(earlier_path);
  }
  return result;
}

}  // namespace

FileResult ReadDatContour(const std::string& path, DatContour& contour) {
  std::ifstream in;
  if (FileResult opened = OpenCoordinateFile(path, in); !opened.ok) return opened;
  auto source = std::make_unique<TextSource>(in);
  return ReadDatSource(path, *source, contour);
}

FileResult ReadDatFile(AirfoilWorkspace& ws, const std::string& path) {
  std::ifstream in;
  if (FileResult opened = OpenCoordinateFile(path, in); !opened.ok) return opened;
  auto source = std::make_unique<TextSource>(in);
  return ReadDatFileSource(ws, path, *source);
}

FileResult LoadDatFile(AirfoilWorkspace& ws, const std::string& path) {
  std::ifstream in;
  if (FileResult opened = OpenCoordinateFile(path, in); !opened.ok) return opened;
  auto source = std::make_unique<TextSource>(in);
  return LoadDatFileSource(ws, path, *source);
}

CoordinateFormat DetectCoordinateFormat(const std::string& path) {
  std::ifstream in;
  if (!OpenCoordinateFile(path, in).ok) return CoordinateFormat::kArf;
  auto source = std::make_unique<TextSource>(in);
  return DetectFormat(*source);
}

FileResult LoadCoordinateFile(AirfoilWorkspace& ws, const std::string& path,
                              CoordinateFormat* format) {
  // The file is opened once: its kind is told from the start of its text, and
  // the reader of that kind (and, if it refuses, the other) reads the same
  // text again, from memory while it fits in one chunk.
  std::ifstream in;
  if (FileResult opened = OpenCoordinateFile(path, in); !opened.ok) return opened;
  auto source = std::make_unique<TextSource>(in);
  const CoordinateFormat detected = DetectFormat(*source);
  FileResult result = LoadAs(ws, path, detected, *source);
  CoordinateFormat loaded = detected;
  if (!result.ok) {
    const CoordinateFormat other =
        detected == CoordinateFormat::kDat ? CoordinateFormat::kArf : CoordinateFormat::kDat;
    if (LoadAs(ws, path, other, *source).ok) {
      result = FileResult::Success();
      loaded = other;
    }
  }
  if (result.ok && format != nullptr) *format = loaded;
  return result;
}

}  // namespace quilane
