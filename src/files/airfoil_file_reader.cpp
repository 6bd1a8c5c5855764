#include "files/airfoil_file_reader.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "files/number_text.h"

namespace quilane {
namespace {

// Longest title and longest numeric field accepted, in characters. They keep
// the memory and time spent on a file that is not a coordinate file small.
constexpr std::size_t kMaxTitleCharacters = 1000;
constexpr std::size_t kMaxFieldCharacters = 400;

// Smallest and largest point count: two points make the shortest contour,
// the point arrays hold 1000.
constexpr long long kMinPoints = 2;
constexpr long long kMaxPoints = kPointCapacity;

constexpr std::size_t kChunkBytes = 64 * 1024;

// Characters of a UTF-8 text as the person counts them: every byte that is
// not a continuation byte.
bool StartsCharacter(char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }

std::filesystem::path PathFromUtf8(const std::string& text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

// The file's bytes, read in chunks, with every line end (LF, CR LF or CR)
// given as one '\n' and the line counted. A NUL byte or a read error ends the
// text as if the file ended there; the caller asks which it was.
class TextSource {
 public:
  static constexpr int kEnd = -1;

  explicit TextSource(std::ifstream& in) : in_(in) { Fill(); }

  // Looks at the start of the file: skips a UTF-8 byte-order mark; returns
  // false for a UTF-16 byte-order mark (the text is then not read).
  bool TakeByteOrderMark() {
    if (Available() >= 2) {
      const auto b0 = static_cast<unsigned char>(buffer_[0]);
      const auto b1 = static_cast<unsigned char>(buffer_[1]);
      if ((b0 == 0xFF && b1 == 0xFE) || (b0 == 0xFE && b1 == 0xFF)) return false;
    }
    if (Available() >= 3 && static_cast<unsigned char>(buffer_[0]) == 0xEF &&
        static_cast<unsigned char>(buffer_[1]) == 0xBB &&
        static_cast<unsigned char>(buffer_[2]) == 0xBF) {
      position_ = 3;
    }
    return true;
  }

  int Peek() {
    const int c = RawPeek();
    return c == '\r' ? '\n' : c;
  }

  int Get() {
    const int c = RawPeek();
    if (c == kEnd) return kEnd;
    ++position_;
    after_line_end_ = c == '\r' || c == '\n';
    if (c == '\r' && RawPeek() == '\n') ++position_;
    if (after_line_end_) {
      ++line_;
      return '\n';
    }
    return c;
  }

  long long line() const { return line_; }
  // The line on which the text ended: the last line that holds anything, not
  // the empty one after a final line end.
  long long EndLine() const { return after_line_end_ && line_ > 1 ? line_ - 1 : line_; }
  bool nul_found() const { return nul_found_; }
  bool read_failed() const { return read_failed_; }
  int read_errno() const { return read_errno_; }

 private:
  std::size_t Available() const { return size_ - position_; }

  void Fill() {
    position_ = 0;
    size_ = 0;
    if (!in_.good()) return;
    errno = 0;
    in_.read(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    size_ = static_cast<std::size_t>(in_.gcount());
    if (in_.bad()) {
      read_failed_ = true;
      read_errno_ = errno;
    }
  }

  int RawPeek() {
    if (nul_found_) return kEnd;
    if (position_ == size_) Fill();
    if (position_ == size_) return kEnd;
    const char c = buffer_[position_];
    if (c == '\0') {
      nul_found_ = true;
      return kEnd;
    }
    return static_cast<unsigned char>(c);
  }

  std::ifstream& in_;
  std::array<char, kChunkBytes> buffer_{};
  std::size_t position_ = 0;
  std::size_t size_ = 0;
  long long line_ = 1;
  bool after_line_end_ = false;
  bool nul_found_ = false;
  bool read_failed_ = false;
  int read_errno_ = 0;
};

bool IsBlank(int c) { return c == ' ' || c == '\t'; }

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

// A field as shown in a message: quoted, long ones shortened.
std::string Shown(const std::string& field) {
  constexpr std::size_t kShownBytes = 40;
  if (field.size() <= kShownBytes) return "\"" + field + "\"";
  std::size_t cut = kShownBytes;
  while (cut > 0 && !StartsCharacter(field[cut])) --cut;
  return "\"" + field.substr(0, cut) + "...\"";
}

// The points as read, before they are committed to the workspace.
struct ReadPoints {
  std::string title;
  int n = 0;
  PointArray x{};
  PointArray y{};
  long long first_record_line = 0;
  long long last_record_line = 0;
};

class Reader {
 public:
  Reader(const std::string& path, TextSource& source) : path_(path), source_(source) {}

  FileResult Read(ReadPoints& points) {
    if (!source_.TakeByteOrderMark()) {
      return Refuse("is UTF-16 text (it starts with a UTF-16 byte-order mark, line 1); "
                    "save it as plain text (UTF-8 or ASCII) and choose it again.");
    }
    if (ReadTitle(source_, points.title) == FieldStatus::kTooLong) {
      if (const auto broken = Broken()) return *broken;
      return Refuse("has a title longer than " + FormatWhole(kMaxTitleCharacters) +
                    " characters on line " + FormatWhole(source_.line()) +
                    "; shorten the title.");
    }
    if (const auto broken = Broken()) return *broken;

    std::string field;
    long long line = 0;
    const FieldStatus count_status = ReadNumericText(source_, true, field, line);
    if (const auto broken = Broken()) return *broken;
    if (count_status == FieldStatus::kMissing) {
      return Refuse("ends at line " + FormatWhole(line) +
                    " before the point count; put the number of points on the line after "
                    "the title.");
    }
    if (count_status == FieldStatus::kTooLong) {
      return Refuse("has more than " + FormatWhole(kMaxFieldCharacters) +
                    " characters without a separator where the point count should stand "
                    "(line " + FormatWhole(line) + "); correct the file.");
    }
    const long long count = WholeCount(field);
    if (count < kMinPoints || count > kMaxPoints) {
      const std::string shown = field.empty() ? "an empty point count"
                                              : "the point count " + Shown(field);
      return Refuse("has " + shown + " on line " + FormatWhole(line) +
                    ", which is not a whole number from " + FormatWhole(kMinPoints) + " to " +
                    FormatWhole(kMaxPoints) +
                    "; write the number of points in plain digits.");
    }
    points.n = static_cast<int>(count);

    static constexpr std::array<const char*, 3> kFieldNames = {"label", "x value", "y value"};
    for (int i = 1; i <= points.n; ++i) {
      for (int k = 0; k < 3; ++k) {
        const bool last_field = i == points.n && k == 2;
        const FieldStatus status = ReadNumericText(source_, !last_field, field, line);
        if (const auto broken = Broken()) return *broken;
        const std::string where = "record " + FormatWhole(i) + " of " + FormatWhole(points.n);
        if (status == FieldStatus::kMissing) {
          return Refuse("ends at line " + FormatWhole(line) + " in " + where + " (its " +
                        kFieldNames[k] +
                        " is missing); add the missing points or correct the point count.");
        }
        if (status == FieldStatus::kTooLong) {
          return Refuse("has more than " + FormatWhole(kMaxFieldCharacters) +
                        " characters without a separator where the " + kFieldNames[k] +
                        " of " + where + " should stand (line " + FormatWhole(line) +
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
          return Refuse("has " + what + " on line " + FormatWhole(line) + " in " + where +
                        "; every record needs a label, x and y as decimal numbers.");
        }
        if (i == 1 && k == 0) points.first_record_line = line;
        if (k == 1) points.x[i] = number.value;
        if (k == 2) points.y[i] = number.value;
      }
    }
    points.last_record_line = line;
    return FileResult::Success();
  }

  FileResult Refuse(const std::string& what) const {
    return FileResult::Failure("The airfoil file \"" + path_ + "\" " + what);
  }

 private:
  // Refusal for a NUL byte or a read error met so far, if any.
  std::optional<FileResult> Broken() const {
    if (source_.nul_found()) {
      return Refuse("is not a plain-text file (line " + FormatWhole(source_.line()) +
                    " holds a NUL byte); choose a plain-text coordinate file.");
    }
    if (source_.read_failed()) {
      const std::string reason = source_.read_errno() != 0
                                     ? std::generic_category().message(source_.read_errno())
                                     : std::string("read error");
      return Refuse("could not be read beyond line " + FormatWhole(source_.line()) + " (" +
                    reason + "); check the disk or copy the file elsewhere and try again.");
    }
    return std::nullopt;
  }

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

FileResult ReadAirfoilFile(AirfoilWorkspace& ws) {
  const std::string& path_text = ws.InputPath;
  const std::filesystem::path path = PathFromUtf8(path_text);
  const std::string prefix = "The airfoil file \"" + path_text + "\" ";

  std::error_code status_error;
  if (std::filesystem::is_directory(path, status_error)) {
    return FileResult::Failure("\"" + path_text +
                               "\" is a folder, not an airfoil file; choose a coordinate "
                               "file inside it.");
  }
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in.is_open()) {
    const int error = errno;
    std::string reason = "it cannot be opened for reading";
    if (!std::filesystem::exists(path, status_error)) {
      reason = "it does not exist";
    } else if (error != 0) {
      reason = std::generic_category().message(error);
    }
    return FileResult::Failure(prefix + "cannot be opened (" + reason +
                               "); choose a readable coordinate file.");
  }

  auto source = std::make_unique<TextSource>(in);
  auto points = std::make_unique<ReadPoints>();
  Reader reader(path_text, *source);
  FileResult result = reader.Read(*points);
  if (!result.ok) return result;

  const int n = points->n;
  const PointArray& x = points->x;
  const std::string lines = "lines " + FormatWhole(points->first_record_line) + " to " +
                            FormatWhole(points->last_record_line);

  // Nose and chord from neighbour steps, on x as read.
  int ile = 0;
  bool x_decreases = false;
  bool x_differs = false;
  double xmin = x[1];
  double xmax = x[1];
  for (int i = 2; i <= n; ++i) {
    if (x[i] < x[i - 1]) {
      ile = i;
      xmin = x[i];
      x_decreases = true;
    }
    if (x[i] > x[i - 1]) xmax = x[i];
    if (x[i] != x[1]) x_differs = true;
  }
  const double chord = xmax - xmin;
  if (!x_differs) {
    return reader.Refuse("has the same x in every record (" + lines +
                         "), so its chord is 0; choose a file that holds a contour.");
  }
  if (!x_decreases) {
    return reader.Refuse("has x values that never decrease (" + lines +
                         "), so the contour has no nose; list the points from the trailing "
                         "edge along one surface to the nose and back along the other.");
  }
  if (!std::isfinite(chord)) {
    return reader.Refuse("has x values too far apart to measure a chord (" + lines +
                         "); scale the coordinates down.");
  }

  ws.AirfoilTitle = std::move(points->title);
  ws.N = n;
  ws.ILE = ile;
  ws.Xmin = xmin;
  ws.Chord = chord;
  for (int i = 1; i <= n; ++i) {
    ws.X[i] = (x[i] - xmin) / chord;
    ws.Y[i] = points->y[i];
  }
  return FileResult::Success();
}

FileResult LoadAirfoilFile(AirfoilWorkspace& ws) {
  FileResult result = ReadAirfoilFile(ws);
  if (!result.ok) return result;
  ws.NI = ws.N;
  for (int i = 1; i <= ws.N; ++i) {
    ws.XI[i] = ws.X[i];
    ws.YI[i] = ws.Y[i];
  }
  ws.PlotScale = 1.0;
  ws.PlotTitle.clear();
  ws.FileLoaded = true;
  return FileResult::Success();
}

}  // namespace quilane
