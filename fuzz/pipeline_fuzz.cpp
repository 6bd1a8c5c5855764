// The whole path of a file through the program: bytes -> LoadCoordinateFile
// -> ReadSettings and Redistribute with settings drawn from the input -> the
// texts of both result files -> the coordinate file read back.
//
// Input layout: the coordinate file's bytes, then the typed Text_NI and
// Text_nPoly, then three bytes: the length of the nPoly text (mod 16), the
// length of the NI text (mod 16, with bit 4: new points placed on the spline
// through the input), and the switches (bit 0: Conformal Mapping
// ticked, bit 1: PW Cubic Spline chosen instead of Lagrange, bits 2 to 4: a
// turn and bits 5 to 7: a shift of the contour read, either of which puts it
// on the mapping route, tilted and shifted off its chord line).
//
// Invariants: a refusal (of the file, the typed settings, the moved contour
// or the run) has a message and names no point beyond the capacity; an
// accepted run gives NI finite new points for the NI typed, a camber count of
// (NI + 1) / 2 with finite camber points and a finite quality report that
// names a new point, and on the spline the first and last new x are the
// input's; both texts have the result layout and hold the points to
// five decimals, and the coordinate file opens again with its title and
// points unless its points give the reader a reason to refuse it (no chord or
// no nose at five decimals, a title grown too long).
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/capacity.h"
#include "engine/redistribute.h"
#include "files/coordinate_file.h"
#include "files/number_text.h"
#include "files/result_file_writer.h"
#include "fuzz_support.h"

namespace quilane::fuzz {
namespace {

struct Settings {
  TypedSettings typed;
  int turn = 0;   // 0..7: a turn of (turn - 4) * 0.15 radians when moved
  int shift = 0;  // 0..7: a shift of (shift - 4) * (0.35, 0.12) when moved
  bool moved() const { return turn != 0 || shift != 0; }
};

// Splits the input into the file's bytes and the settings after them.
std::string_view TakeSettings(std::string_view input, Settings& settings) {
  if (input.size() < 3) return input;
  const auto byte = [&](std::size_t from_end) {
    return static_cast<unsigned char>(input[input.size() - from_end]);
  };
  const unsigned switches = byte(1);
  std::size_t ni_length = byte(2) % 16;
  settings.typed.on_spline = (byte(2) & 16) != 0;
  std::size_t npoly_length = byte(3) % 16;
  input.remove_suffix(3);
  settings.turn = static_cast<int>((switches >> 2) & 7);
  settings.shift = static_cast<int>((switches >> 5) & 7);
  const bool mapping = (switches & 1) != 0 || settings.moved();
  settings.typed.route = mapping ? Route::kConformalMapping : Route::kAlongChord;
  settings.typed.method = (switches & 2) != 0 ? Method::kPwCubic : Method::kLagrange;
  ni_length = std::min(ni_length, input.size());
  settings.typed.points = std::string(input.substr(input.size() - ni_length));
  input.remove_suffix(ni_length);
  npoly_length = std::min(npoly_length, input.size());
  settings.typed.degree = std::string(input.substr(input.size() - npoly_length));
  input.remove_suffix(npoly_length);
  return input;
}

// The loaded section, turned about the origin and shifted as the settings
// say, made a section again (which may refuse it).
Expected<Section> MovedSection(const Section& section, const Settings& settings) {
  if (!settings.moved()) return section;
  Contour contour = section.contour;
  const double angle = (settings.turn - 4) * 0.15;
  const double c = std::cos(angle);
  const double s = std::sin(angle);
  for (std::size_t i = 0; i < contour.x.size(); ++i) {
    const double x = contour.x[i];
    const double y = contour.y[i];
    contour.x[i] = c * x - s * y + (settings.shift - 4) * 0.35;
    contour.y[i] = s * x + c * y + (settings.shift - 4) * 0.12;
  }
  return MakeSection(section.title, std::move(contour),
                     ContourOrigin{"The moved contour", "", "", 0});
}

void CheckRefusal(const Refusal& refusal) {
  Check(!refusal.message.empty(), "a refusal without a message");
  Check(refusal.index >= 0 && refusal.index <= kPointCapacity, "a refusal's index is out of range");
}

// Whether the reader may refuse the written coordinate file: its points at
// five decimals have one x, or x never decreases, or its chord is not a
// finite number, or its title grew beyond the reader's limit.
// A title read back as it was saved, but for double quotes that the writer
// gives as apostrophes where the reader would take them for the quotes of a
// quoted title.
bool SameTitle(const std::string& read, const std::string& saved) {
  if (read.size() != saved.size()) return false;
  for (std::size_t i = 0; i < read.size(); ++i) {
    if (read[i] != saved[i] && !(saved[i] == '"' && read[i] == '\'')) return false;
  }
  return true;
}

bool MayRefuse(const ResultFile& file, const std::string& title) {
  bool decreases = false;
  bool differs = false;
  double xmin = file.x.front();
  double xmax = file.x.front();
  for (std::size_t i = 1; i < file.x.size(); ++i) {
    if (file.x[i] < file.x[i - 1]) {
      decreases = true;
      xmin = file.x[i];
    }
    if (file.x[i] > file.x[i - 1]) xmax = file.x[i];
    if (file.x[i] != file.x[0]) differs = true;
  }
  std::size_t characters = 0;
  for (const char c : title) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return !decreases || !differs || !std::isfinite(xmax - xmin) || characters > 1000;
}

void CheckWrittenPoints(const ResultFile& file, const std::string& count_text,
                        const std::vector<double>& x, const std::vector<double>& y,
                        const char* which) {
  const std::string name = which;
  Check(file.well_formed, "the " + name + " file does not have the result layout");
  Check(file.count_text == count_text, "the " + name + " file's count is " + file.count_text);
  Check(file.x.size() == x.size(), "the " + name + " file has another count");
  for (std::size_t i = 0; i < x.size(); ++i) {
    Check(SameToFiveDecimals(file.x[i], x[i]) && SameToFiveDecimals(file.y[i], y[i]),
          "the " + name + " file's point " + FormatWhole(static_cast<long long>(i) + 1) +
              " differs");
  }
}

}  // namespace
}  // namespace quilane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quilane;
  using namespace quilane::fuzz;
  Settings settings;
  const std::string_view bytes =
      TakeSettings(std::string_view(reinterpret_cast<const char*>(data), size), settings);
  const std::filesystem::path folder = ScratchFolder();
  const std::string input = (folder / "input.arf").string();
  WriteBytes(input, bytes);

  const Expected<LoadedFile> loaded = LoadCoordinateFile(input);
  if (!loaded) {
    CheckRefusal(loaded.error());
    return 0;
  }
  const Expected<RedistributeSettings> run = ReadSettings(settings.typed);
  if (!run) {
    CheckRefusal(run.error());
    return 0;
  }
  const Expected<Section> section = MovedSection(loaded->section, settings);
  if (!section) {
    CheckRefusal(section.error());
    return 0;
  }
  const Expected<RedistributeResult> outcome = Redistribute(*section, *run);
  if (!outcome) {
    CheckRefusal(outcome.error());
    return 0;
  }
  const RedistributeResult& result = *outcome;
  const QualityReport& report = result.report;
  Check(std::isfinite(report.max_deviation) && std::isfinite(report.mean_deviation),
        "the quality report is not finite: " + FormatMessageNumber(report.max_deviation) + ", " +
            FormatMessageNumber(report.mean_deviation));
  Check(report.mean_deviation <= report.max_deviation * (1 + 1e-12),
        "the mean deviation exceeds the largest");
  Check(report.max_deviation_point >= 1 && report.max_deviation_point <= run->points,
        "the quality report names no new point: " + FormatWhole(report.max_deviation_point));
  const double typed = ValueOfString(settings.typed.points);
  const int ni = static_cast<int>(result.x.size());
  Check(ni == typed && result.y.size() == result.x.size(), "NI is not the typed number");
  for (int i = 0; i < ni; ++i) {
    Check(std::isfinite(result.x[i]) && std::isfinite(result.y[i]), "a new point is not finite");
  }
  Check(!run->on_spline || (result.x.front() == section->contour.x.front() &&
                            result.x.back() == section->contour.x.back()),
        "a new point on the spline does not end where the input does");
  Check(result.camber_count == (ni + 1) / 2.0, "the camber count is not (NI + 1) / 2");
  const auto camber_points = static_cast<std::size_t>(result.camber_count);
  Check(result.camber_x.size() == camber_points && result.camber_y.size() == camber_points,
        "the camber line has another count");
  for (std::size_t i = 0; i < camber_points; ++i) {
    Check(std::isfinite(result.camber_x[i]) && std::isfinite(result.camber_y[i]),
          "a camber point is not finite");
  }

  const ResultFiles files =
      ResultFilesOf(result, ResultFormat::kArf, (folder / "out.arf").string());
  const std::string points_text = PointsFileText(files);
  const ResultFile coordinates = ParseResultFile(points_text);
  CheckWrittenPoints(coordinates, FormatWhole(ni), result.x, result.y, "coordinate");
  const ResultFile camber = ParseResultFile(ResultFileText(files.title, files.camber));
  CheckWrittenPoints(camber, FormatShortest(result.camber_count), result.camber_x,
                     result.camber_y, "camber");

  WriteBytes(files.points_path, points_text);
  const Expected<LoadedFile> reread = LoadArfFile(files.points_path);
  if (!reread) {
    Check(MayRefuse(coordinates, result.title),
          "the saved file does not open again: " + reread.error().message);
    return 0;
  }
  const Section& again = reread->section;
  Check(SameTitle(again.title, result.title), "the saved title reads back as " + again.title);
  Check(static_cast<int>(again.contour.x.size()) == ni,
        "the saved file reads back with another count");
  for (int i = 0; i < ni; ++i) {
    const double x = again.contour.x[i] * again.chord + again.x_min;
    // Normalising and undoing it cost a few units in the last place of the
    // larger of x and Xmin.
    const double slack = (std::abs(coordinates.x[i]) + std::abs(again.x_min)) * 8e-16;
    Check(std::abs(x - coordinates.x[i]) <= slack,
          "the saved x of point " + FormatWhole(i + 1) + ", " +
              FormatMessageNumber(coordinates.x[i]) + ", reads back as " +
              FormatMessageNumber(x) + " (X " + FormatMessageNumber(again.contour.x[i]) +
              ", chord " + FormatMessageNumber(again.chord) + ", Xmin " +
              FormatMessageNumber(again.x_min) + ")");
    Check(again.contour.y[i] == coordinates.y[i], "a saved y reads back differently");
  }
  return 0;
}
