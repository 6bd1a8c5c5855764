#include "files/airfoil_file_reader.h"

#include <array>
#include <charconv>
#include <cstddef>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "base/capacity.h"
#include "files/field_text.h"
#include "files/number_text.h"
#include "files/text_source.h"

namespace quilane {
namespace {

// Longest title accepted, in characters: keeps the memory spent on a file
// that is not a coordinate file small.
constexpr std::size_t kMaxTitleCharacters = 1000;

// Smallest and largest point count: two points make the shortest contour,
// the point arrays hold 1000.
constexpr long long kMinPoints = 2;
constexpr long long kMaxPoints = kPointCapacity;

enum class FieldStatus { kOk, kMissing, kTooLong };

// The title field: blanks in front skipped; either the text between double
// quotes (then the rest up to the next comma or line end is passed over), or
// the text up to the first comma or line end without its trailing blanks.
// The comma or line end that closes the field is consumed.
FieldStatus ReadTitle(TextSource& source, std::string& title) {
  title.clear();
  std::size_t characters = 0;
  while (IsBlank(source.Peek())) source.Get();
  const bool quoted = source.Peek() == '"';
  if (quoted) source.Get();
  for (int c = source.Peek(); c != TextSource::kEnd && c != '\n'; c = source.Peek()) {
    if (quoted ? c == '"' : c == ',') break;
    title.push_back(static_cast<char>(source.Get()));
    if (StartsCharacter(static_cast<char>(c)) && ++characters > kMaxTitleCharacters) {
      return FieldStatus::kTooLong;
    }
  }
  if (quoted) {
    if (source.Peek() == '"') source.Get();
    std::size_t passed = 0;
    for (int c = source.Peek(); c != TextSource::kEnd && c != '\n' && c != ',';
         c = source.Peek()) {
      source.Get();
      if (++passed > kMaxTitleCharacters) return FieldStatus::kTooLong;
    }
  } else {
    while (!title.empty() && IsBlank(title.back())) title.pop_back();
  }
  if (source.Peek() == ',' || source.Peek() == '\n') source.Get();
  return FieldStatus::kOk;
}

// A numeric field: blanks and line ends in front skipped, then the text up to
// a blank, a comma or a line end. With `take_delimiter` the blanks after it and
// one comma or line end are consumed, so that two commas in a row leave an
// empty field. `line` is the line the field starts on.
FieldStatus ReadNumericText(TextSource& source, bool take_delimiter, std::string& field,
                            long long& line) {
  field.clear();
  while (IsBlank(source.Peek()) || source.Peek() == '\n') source.Get();
  if (source.Peek() == TextSource::kEnd) {
    line = source.EndLine();
    return FieldStatus::kMissing;
  }
  line = source.line();
  std::size_t characters = 0;
  for (int c = source.Peek(); c != TextSource::kEnd && c != '\n' && c != ',' && !IsBlank(c);
       c = source.Peek()) {
    field.push_back(static_cast<char>(source.Get()));
    if (StartsCharacter(static_cast<char>(c)) && ++characters > kMaxFieldCharacters) {
      return FieldStatus::kTooLong;
    }
  }
  if (take_delimiter) {
    while (IsBlank(source.Peek())) source.Get();
    if (source.Peek() == ',' || source.Peek() == '\n') source.Get();
  }
  return FieldStatus::kOk;
}

class Reader {
 public:
  Reader(const std::string& path, TextSource& source) : path_(path), source_(source) {}

  Expected<FileContour> Read() {
    FileContour contour;
    if (!source_.TakeByteOrderMark()) {
      return Refuse(RefusalCode::kNotPlainText, 1, kUtf16Refusal);
    }
    if (ReadTitle(source_, contour.title) == FieldStatus::kTooLong) {
      if (const auto broken = Broken()) return *broken;
      return Refuse(RefusalCode::kMalformedFile, source_.line(),
                    "has a title longer than " + FormatWhole(kMaxTitleCharacters) +
                        " characters on line " + FormatWhole(source_.line()) +
                        "; shorten the title.");
    }
    if (const auto broken = Broken()) return *broken;

    std::string field;
    long long line = 0;
    const FieldStatus count_status = ReadNumericText(source_, true, field, line);
    if (const auto broken = Broken()) return *broken;
    if (count_status == FieldStatus::kMissing) {
      return Refuse(RefusalCode::kMalformedFile, line,
                    "ends at line " + FormatWhole(line) +
                        " before the point count; put the number of points on the line after "
                        "the title.");
    }
    if (count_status == FieldStatus::kTooLong) {
      return Refuse(RefusalCode::kMalformedFile, line,
                    "has more than " + FormatWhole(kMaxFieldCharacters) +
                        " characters without a separator where the point count should stand "
                        "(line " +
                        FormatWhole(line) + "); correct the file.");
    }
    const long long count = WholeCount(field);
    if (count < kMinPoints || count > kMaxPoints) {
      const std::string shown = field.empty() ? "an empty point count"
                                              : "the point count " + Shown(field);
      return Refuse(RefusalCode::kMalformedFile, line,
                    "has " + shown + " on line " + FormatWhole(line) +
                        ", which is not a whole number from " + FormatWhole(kMinPoints) + " to " +
                        FormatWhole(kMaxPoints) + "; write the number of points in plain digits.");
    }
    const int n = static_cast<int>(count);
    contour.format = "arf";
    contour.points.x.reserve(n);
    contour.points.y.reserve(n);

    static constexpr std::array<const char*, 3> kFieldNames = {"label", "x value", "y value"};
    for (int i = 1; i <= n; ++i) {
      for (int k = 0; k < 3; ++k) {
        const bool last_field = i == n && k == 2;
        const FieldStatus status = ReadNumericText(source_, !last_field, field, line);
        if (const auto broken = Broken()) return *broken;
        // Made only for a refusal: a text this long would take the heap for
        // every field.
        const auto where = [&] {
          return "record " + FormatWhole(i) + " of " + FormatWhole(n);
        };
        if (status == FieldStatus::kMissing) {
          return Refuse(RefusalCode::kMalformedFile, line,
                        "ends at line " + FormatWhole(line) + " in " + where() + " (its " +
                            kFieldNames[k] +
                            " is missing); add the missing points or correct the point count.");
        }
        if (status == FieldStatus::kTooLong) {
          return Refuse(RefusalCode::kMalformedFile, line,
                        "has more than " + FormatWhole(kMaxFieldCharacters) +
                            " characters without a separator where the " + kFieldNames[k] + " of " +
                            where() + " should stand (line " + FormatWhole(line) +
                            "); correct the file.");
        }
        const FieldNumber number = ParseNumberField(field);
        if (number.kind != FieldNumber::Kind::kNumber) {
          std::string what;
          if (field.empty()) {
            what = std::string("an empty ") + kFieldNames[k] + " (two separators in a row)";
          } else if (number.kind == FieldNumber::Kind::kNotFinite) {
            what = std::string("the ") + kFieldNames[k] + " " + Shown(field) +
                   ", which is not a finite number,";
          } else {
            what = std::string("the ") + kFieldNames[k] + " " + Shown(field) +
                   ", which is not a number,";
          }
          return Refuse(RefusalCode::kMalformedFile, line,
                        "has " + what + " on line " + FormatWhole(line) + " in " + where() +
                            "; every record needs a label, x and y as decimal numbers.");
        }
        if (i == 1 && k == 0) contour.first_line = line;
        if (k == 1) contour.points.x.push_back(number.value);
        if (k == 2) contour.points.y.push_back(number.value);
      }
    }
    contour.last_line = line;
    return contour;
  }

 private:
  Refusal Refuse(RefusalCode code, long long line, const std::string& what) const {
    return RefuseFile(code, path_, line, what);
  }

  // Refusal for a NUL byte or a read error met so far, if any.
  std::optional<Refusal> Broken() const { return SourceFault(source_, path_); }

  // The count as a whole number: optional '+' and plain digits; -1 otherwise.
  static long long WholeCount(std::string_view field) {
    if (!field.empty() && field.front() == '+') field.remove_prefix(1);
    if (field.empty()) return -1;
    for (const char c : field) {
      if (c < '0' || c > '9') return -1;
    }
    long long value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error != std::errc() || end != field.data() + field.size()) return -1;
    return value;
  }

  const std::string& path_;
  TextSource& source_;
};

}  // namespace

Expected<FileContour> ReadArfContour(const std::string& path, TextSource& source) {
  return Reader(path, source).Read();
}

}  // namespace quilane
