#include "files/dat_file_reader.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/capacity.h"
#include "files/field_text.h"
#include "files/file_path.h"
#include "files/number_text.h"
#include "files/text_source.h"

namespace quilane {
namespace {

// Longest line accepted before and inside the contour, in characters, as for
// the *.arf files; notes after the contour may be longer (only their first
// characters are looked at).
constexpr std::size_t kMaxLineCharacters = 1000;

// Coordinate lines read at most: room for every point twice (repeats are
// dropped afterwards), while the memory stays bounded.
constexpr std::size_t kMaxCoordinateLines = 2 * kPointCapacity;

// The fewest points of a contour from a .dat file: a nose between two ends.
constexpr std::size_t kMinPoints = 3;

// Header lines kept as text; the rest are only counted.
constexpr std::size_t kMaxHeaderKept = 100;

// The x and y of the line that separates the elements of a multi-element
// file.
constexpr double kElementSeparator = 999.0;

// A field as a number; a Fortran exponent may be written with D.
FieldNumber CoordinateNumber(std::string_view field) {
  if (field.find_first_of("dD") == std::string_view::npos) return ParseNumberField(field);
  std::string written(field);
  std::replace_if(written.begin(), written.end(), [](char c) { return c == 'd' || c == 'D'; },
                  'e');
  return ParseNumberField(written);
}

// Whether a field is meant as a number: it reads as one (finite or not), or
// it is too long to read and made only of the characters of numbers.
bool NumberLike(std::string_view field) {
  if (field.size() > kMaxFieldCharacters) {
    return field.find_first_not_of("0123456789.+-eEdD") == std::string_view::npos;
  }
  return CoordinateNumber(field).kind != FieldNumber::Kind::kNotNumber;
}

// What a line holds.
struct LineShape {
  enum class Kind {
    kPair,     // a coordinate line: exactly two finite numbers
    kNumbers,  // only numbers, but not a coordinate line
    kText,     // anything else
  };
  Kind kind = Kind::kText;
  std::vector<std::string_view> fields;
  double x = 0.0;
  double y = 0.0;
};

LineShape ShapeOf(std::string_view text) {
  LineShape shape;
  shape.fields = Fields(text);
  const auto& fields = shape.fields;
  if (fields.size() == 2 && fields[0].size() <= kMaxFieldCharacters &&
      fields[1].size() <= kMaxFieldCharacters) {
    const FieldNumber x = CoordinateNumber(fields[0]);
    const FieldNumber y = CoordinateNumber(fields[1]);
    if (x.kind == FieldNumber::Kind::kNumber && y.kind == FieldNumber::Kind::kNumber) {
      shape.kind = LineShape::Kind::kPair;
      shape.x = x.value;
      shape.y = y.value;
      return shape;
    }
  }
  const bool numbers = !fields.empty() && std::all_of(fields.begin(), fields.end(), NumberLike);
  shape.kind = numbers ? LineShape::Kind::kNumbers : LineShape::Kind::kText;
  return shape;
}

// A line right after the coordinates that was meant as one: only numbers,
// or x followed by something else.
bool LooksLikeDamagedPair(const LineShape& shape) {
  return shape.kind == LineShape::Kind::kNumbers ||
         (shape.fields.size() == 2 && NumberLike(shape.fields[0]));
}

// The domain box of the ISES layout: four finite numbers.
bool IsDomainBox(const LineShape& shape) {
  return shape.kind == LineShape::Kind::kNumbers && shape.fields.size() == 4 &&
         std::all_of(shape.fields.begin(), shape.fields.end(), [](std::string_view f) {
           return CoordinateNumber(f).kind == FieldNumber::Kind::kNumber;
         });
}

// A count of the Lednicer layout: a whole number of at least 2.
bool IsSurfaceCount(double value) { return value >= 2.0 && value == std::floor(value); }

// A line that may give the number of points: one whole number from 3 to
// the most coordinate lines read.
bool IsPointCount(const LineShape& shape) {
  if (shape.kind != LineShape::Kind::kNumbers || shape.fields.size() != 1) return false;
  const FieldNumber count = CoordinateNumber(shape.fields[0]);
  return count.kind == FieldNumber::Kind::kNumber && count.value >= kMinPoints &&
         count.value <= static_cast<double>(kMaxCoordinateLines) &&
         count.value == std::floor(count.value);
}

bool IsSignificant(std::string_view text) { return !text.empty() && text.front() != '#'; }

// What a line that is not a coordinate line holds, and why it is not one, as
// the words after "has" ("the y value \"abc\", which is not a number,") and
// the advice after the line.
struct LineFault {
  std::string what;
  std::string advice;
};

LineFault FaultOf(const LineShape& shape, std::string_view text) {
  static constexpr const char* kNames[2] = {"x value", "y value"};
  const auto& fields = shape.fields;
  if (shape.kind == LineShape::Kind::kText &&
      std::none_of(fields.begin(), fields.end(), NumberLike)) {
    return {"the text " + Shown(text), "every coordinate line holds x and y."};
  }
  if (fields.size() == 2) {
    for (int k = 0; k < 2; ++k) {
      if (fields[k].size() > kMaxFieldCharacters) {
        return {"more than " + FormatWhole(kMaxFieldCharacters) + " characters in the " +
                    kNames[k],
                "correct the file."};
      }
      const FieldNumber value = CoordinateNumber(fields[k]);
      if (value.kind != FieldNumber::Kind::kNumber) {
        const char* kind = value.kind == FieldNumber::Kind::kNotFinite ? "not a finite number"
                                                                       : "not a number";
        return {"the " + std::string(kNames[k]) + " " + Shown(fields[k]) + ", which is " +
                    kind + ",",
                "every coordinate line holds x and y as decimal numbers."};
      }
    }
  }
  std::string what = FormatWhole(static_cast<long long>(fields.size())) + " fields";
  if (fields.size() == 1) {
    what = "a single number (like the point count of a *.arf file)";
  }
  return {what, "every coordinate line holds x and y."};
}

bool IsWholeCount(double value) { return value >= 2.0 && value == std::floor(value); }

struct Point {
  double x = 0.0;
  double y = 0.0;
  long long line = 0;
};

class DatReader {
 public:
  DatReader(const std::string& path, TextSource& source) : path_(path), source_(source) {}

  std::optional<Refusal> Read(DatContour& contour) {
    if (!source_.TakeByteOrderMark()) {
      return Refuse(RefusalCode::kNotPlainText, 1, kUtf16Refusal);
    }
    std::vector<Point> points;
    long long name_line = 0;
    bool after_name = false;    // a line after the name (not blank, not a comment) was met
    long long box_line = 0;     // a domain box waiting for its first coordinate line
    std::string box_text;
    bool ises = false;
    long long count_line = 0;   // a point count waiting for its first coordinate line
    std::string count_text;
    bool blank_since_point = false;
    long long end_line = 0;     // the line that ended the contour
    std::string end_what;       // what it holds, for the refusals
    std::string line;
    for (;;) {
      const long long number = source_.line();
      const LineStatus status = ReadLine(source_, line, kMaxLineCharacters);
      if (auto fault = SourceFault(source_, path_)) return fault;
      if (status == LineStatus::kEnd) break;
      const bool too_long = status == LineStatus::kTooLong;
      const std::string_view text = Trimmed(line);
      if (!too_long && text.empty()) {
        blank_since_point = true;
        continue;
      }
      const bool comment = !too_long && text.front() == '#';

      if (end_line != 0) {  // notes, unless the coordinates go on
        if (!too_long && !comment && ShapeOf(text).kind == LineShape::Kind::kPair) {
          return Refuse(RefusalCode::kMalformedFile, end_line,
                        "has " + end_what + " on line " + FormatWhole(end_line) +
                            ", inside the contour: coordinate lines follow on line " +
                            FormatWhole(number) +
                            "; every line from the first to the last coordinate line holds x and "
                            "y, or is blank.");
        }
        ++contour.ignored_lines;
        continue;
      }
      if (too_long && (points.empty() || box_line != 0)) {
        return Refuse(RefusalCode::kMalformedFile, number,
                      "has more than " + FormatWhole(kMaxLineCharacters) + " characters on line " +
                          FormatWhole(number) + "; a coordinate file has short lines.");
      }
      if (comment) {
        if (points.empty()) KeepHeader(contour, text);
        continue;
      }
      if (name_line == 0) {
        name_line = number;
        const LineShape first = ShapeOf(text);
        if (first.kind != LineShape::Kind::kPair) {
          contour.title = Utf8Text(text);
          continue;
        }
        // A file that begins with its coordinates has no name line: this line
        // is its first point, and the section takes the file's name. Two
        // whole numbers of 2 or more are the surface counts of a Lednicer
        // file whose name line is missing, not a point.
        if (IsWholeCount(first.x) && IsWholeCount(first.y)) {
          return Refuse(RefusalCode::kMalformedFile, number,
                        "has two whole numbers on line " + FormatWhole(number) +
                            " where the section's name should stand (like the surface counts "
                            "of a Lednicer file); put the name on a line of its own before them.");
        }
        contour.title = Utf8FromPath(PathFromUtf8(path_).stem());
        contour.unnamed = true;
      }
      if (too_long) {  // ends the contour
        end_line = number;
        end_what = "more than " + FormatWhole(kMaxLineCharacters) + " characters";
        contour.ignored_lines = 1;
        continue;
      }

      const LineShape shape = ShapeOf(text);
      const bool first_after_name = !after_name;
      after_name = true;
      if (box_line != 0) {
        if (shape.kind != LineShape::Kind::kPair) {
          return Refuse(RefusalCode::kMalformedFile, number,
                        "has four numbers on line " + FormatWhole(box_line) +
                            " (like the domain box of an ISES file), but line " +
                            FormatWhole(number) +
                            " after them holds no x and y; correct the file.");
        }
        box_line = 0;
        ises = true;
      }
      if (count_line != 0 && points.empty() && shape.kind != LineShape::Kind::kPair) {
        return RefuseLine(ShapeOf(count_text), count_text, count_line);
      }
      if (shape.kind == LineShape::Kind::kPair) {
        if (shape.x == kElementSeparator && shape.y == kElementSeparator) {
          return Refuse(RefusalCode::kMalformedFile, number,
                        "has the element separator \"" + std::string(text) + "\" on line " +
                            FormatWhole(number) +
                            ": it holds several elements, and only one element can be "
                            "re-spaced; save the element you want in a file of its own.");
        }
        if (points.size() == kMaxCoordinateLines) {
          return Refuse(RefusalCode::kUnusableContour, number,
                        "has more than " + FormatWhole(kMaxCoordinateLines) +
                            " coordinate lines (line " + FormatWhole(number) +
                            " is one too many); " + "the program holds at most " +
                            FormatWhole(kPointCapacity) + " points.");
        }
        points.push_back({shape.x, shape.y, number});
        blank_since_point = false;
        continue;
      }
      if (points.empty()) {
        if (shape.kind == LineShape::Kind::kText) {
          KeepHeader(contour, text);
          continue;
        }
        if (first_after_name && IsDomainBox(shape)) {
          box_line = number;
          continue;
        }
        if (first_after_name && IsPointCount(shape)) {
          count_line = number;
          count_text = std::string(text);
          ++contour.header_lines;
          continue;
        }
        return RefuseLine(shape, text, number);
      }
      if (!blank_since_point && LooksLikeDamagedPair(shape)) {
        return RefuseLine(shape, text, number);
      }
      end_line = number;
      end_what = FaultOf(shape, text).what;
      contour.ignored_lines = 1;
    }
    if (box_line != 0) {
      return Refuse(RefusalCode::kMalformedFile, box_line,
                    "has four numbers on line " + FormatWhole(box_line) +
                        " (like the domain box of an ISES file), but no x and y lines after "
                        "them; correct the file.");
    }
    if (name_line == 0) {
      return Refuse(RefusalCode::kMalformedFile, source_.EndLine(),
                    "holds no name line and no coordinates (line " +
                        FormatWhole(source_.EndLine()) + "); choose a coordinate file.");
    }
    if (count_line != 0 && points.empty()) {
      return RefuseLine(ShapeOf(count_text), count_text, count_line);
    }
    if (points.empty()) {
      return Refuse(RefusalCode::kMalformedFile, name_line,
                    "has no coordinate lines after its name on line " + FormatWhole(name_line) +
                        "; add the points as \"x y\" lines.");
    }

    if (count_line != 0) {
      const double count = CoordinateNumber(count_text).value;
      if (count != static_cast<double>(points.size())) {
        return Refuse(RefusalCode::kMalformedFile, count_line,
                      "gives the point count " + FormatMessageNumber(count) + " on line " +
                          FormatWhole(count_line) + ", but " +
                          FormatWhole(static_cast<long long>(points.size())) +
                          " coordinate lines follow (lines " + FormatWhole(points.front().line) +
                          " to " + FormatWhole(points.back().line) +
                          "); correct the count or the points.");
      }
    }
    std::vector<Point> loop;
    if (auto refused = JoinSurfaces(points, ises || count_line != 0, ises, contour, loop)) {
      return refused;
    }
    contour.first_line = points.front().line;
    contour.last_line = points.back().line;
    return Finish(loop, end_line, end_what, contour);
  }

  Refusal Refuse(RefusalCode code, long long line, const std::string& what) const {
    return RefuseFile(code, path_, line, what);
  }

 private:
  Refusal RefuseLine(const LineShape& shape, std::string_view text, long long number) const {
    const LineFault fault = FaultOf(shape, text);
    return Refuse(RefusalCode::kMalformedFile, number,
                  "has " + fault.what + " on line " + FormatWhole(number) + "; " + fault.advice);
  }

  static void KeepHeader(DatContour& contour, std::string_view text) {
    if (contour.header.size() < kMaxHeaderKept) contour.header.push_back(Utf8Text(text));
    ++contour.header_lines;
  }

  // Decides the layout and joins the surfaces into one loop from the
  // trailing edge over the first surface and the nose to the trailing edge.
  // Removes the count line of a Lednicer file from `points`.
  std::optional<Refusal> JoinSurfaces(std::vector<Point>& points, bool one_loop, bool ises,
                                      DatContour& contour, std::vector<Point>& loop) const {
    const Point head = points.front();
    if (one_loop || !IsSurfaceCount(head.x) || !IsSurfaceCount(head.y)) {
      contour.layout = ises ? DatLayout::kIses : DatLayout::kSelig;
      contour.format = ises ? "ISES" : "Selig";
      loop = points;
      return std::nullopt;
    }
    const double following = static_cast<double>(points.size() - 1);
    if (head.x + head.y != following) {
      const std::string lines =
          points.size() > 1 ? " (lines " + FormatWhole(points[1].line) + " to " +
                                  FormatWhole(points.back().line) + ")"
                            : "";
      return Refuse(RefusalCode::kMalformedFile, head.line,
                    "gives the surface counts " + FormatMessageNumber(head.x) + " and " +
                        FormatMessageNumber(head.y) + " on line " + FormatWhole(head.line) +
                        ", which make " + FormatMessageNumber(head.x + head.y) + " points, but " +
                        FormatWhole(static_cast<long long>(points.size() - 1)) +
                        " coordinate lines follow" + lines + "; correct the counts or the points.");
    }
    contour.layout = DatLayout::kLednicer;
    contour.format = "Lednicer";
    points.erase(points.begin());
    const auto first = static_cast<std::ptrdiff_t>(head.x);
    loop.assign(points.rbegin() + (static_cast<std::ptrdiff_t>(points.size()) - first),
                points.rend());
    loop.insert(loop.end(), points.begin() + first, points.end());
    return std::nullopt;
  }

  std::optional<Refusal> Finish(const std::vector<Point>& loop, long long end_line,
                                const std::string& end_what, DatContour& contour) const {
    Contour& points = contour.points;
    points.x.clear();
    points.y.clear();
    points.x.reserve(loop.size());
    points.y.reserve(loop.size());
    for (const Point& p : loop) {
      points.x.push_back(p.x);
      points.y.push_back(p.y);
    }
    const LoopOrder order = PutLoopInProgramOrder(points);
    contour.dropped = order.dropped;
    contour.reversed = order.twice_area < 0.0;  // the upper surface is the layout's first
    const std::size_t kept = points.x.size();
    const std::string lines = "lines " + FormatWhole(contour.first_line) + " to " +
                              FormatWhole(contour.last_line);
    if (kept > static_cast<std::size_t>(kPointCapacity)) {
      return Refuse(RefusalCode::kUnusableContour, contour.first_line,
                    "has " + FormatWhole(static_cast<long long>(kept)) + " points (" + lines +
                        "); the program holds at most " + FormatWhole(kPointCapacity) + " points.");
    }
    if (kept < kMinPoints) {
      const std::string ended =
          end_line == 0 ? ""
                        : ", and the contour ends at line " + FormatWhole(end_line) +
                              ", which holds " + end_what;
      // The first point of the loop is always kept.
      const std::string what =
          kept == 1 ? "a single point (line " + FormatWhole(loop.front().line) + ")"
                    : "only " + FormatWhole(static_cast<long long>(kept)) + " points (" +
                          lines + ")";
      return Refuse(RefusalCode::kUnusableContour, contour.first_line,
                    "has " + what + ended + "; a contour needs at least " +
                        FormatWhole(static_cast<long long>(kMinPoints)) + " points.");
    }
    return std::nullopt;
  }

  const std::string& path_;
  TextSource& source_;
};

}  // namespace

Expected<DatContour> ReadDatSource(const std::string& path, TextSource& source) {
  DatContour contour;
  if (auto refused = DatReader(path, source).Read(contour)) return *std::move(refused);
  return contour;
}

Expected<FileContour> ReadDatFileContour(const std::string& path, TextSource& source) {
  Expected<DatContour> read = ReadDatSource(path, source);
  if (!read) return std::move(read.error());
  return static_cast<FileContour&&>(std::move(*read));
}

namespace {

// What the first lines of a .dat file say.
struct DatStart {
  std::optional<DatLayout> layout;
  bool point_count = false;  // a point count right after the name, then coordinates
};

DatStart ScanDatStart(TextSource& source) {
  DatStart start;
  if (!source.TakeByteOrderMark()) return start;
  bool name_seen = false;
  bool header_seen = false;
  bool count_seen = false;
  std::string line;
  for (LineStatus status; (status = ReadLine(source, line, kMaxLineCharacters)) != LineStatus::kEnd;) {
    const std::string_view text = Trimmed(line);
    if (status == LineStatus::kLine && !IsSignificant(text)) continue;
    if (!name_seen) {
      name_seen = true;
      continue;
    }
    // A line too long for a .dat file right after the name may be the
    // count field of a *.arf file, whose reader tells what is wrong.
    if (status == LineStatus::kTooLong && !header_seen) return start;
    const LineShape shape =
        status == LineStatus::kTooLong ? LineShape{} : ShapeOf(text);  // long: text
    if (count_seen) {
      if (shape.kind == LineShape::Kind::kPair) {
        start.layout = DatLayout::kSelig;
        start.point_count = true;
      }
      return start;
    }
    if (shape.kind == LineShape::Kind::kPair) {
      start.layout = IsSurfaceCount(shape.x) && IsSurfaceCount(shape.y) ? DatLayout::kLednicer
                                                                        : DatLayout::kSelig;
      return start;
    }
    if (shape.kind == LineShape::Kind::kNumbers) {
      // The point count of a *.arf file, or its first record, stands right
      // after the title; a .dat file has no other lines of numbers there.
      if (header_seen) {
        start.layout = DatLayout::kSelig;
      } else if (IsDomainBox(shape)) {
        start.layout = DatLayout::kIses;
      } else if (IsPointCount(shape)) {
        count_seen = true;
        continue;
      }
      return start;
    }
    header_seen = true;  // text, which no *.arf file has after its title
  }
  if (header_seen) start.layout = DatLayout::kSelig;
  return start;
}

}  // namespace

std::optional<DatLayout> DetectDatLayout(TextSource& source) {
  return ScanDatStart(source).layout;
}

bool HasPointCountLine(TextSource& source) { return ScanDatStart(source).point_count; }

Expected<DatContour> ReadDatContour(const std::string& path) {
  OpenedText text;
  if (auto refused = text.Open(path)) return *std::move(refused);
  return ReadDatSource(path, text.source());
}

}  // namespace quilane
