// The whole path of a file through the program: bytes -> reader ->
// Redistribute with settings drawn from the input -> WriteResultFiles ->
// both files read back.
//
// Input layout: the coordinate file's bytes, then the typed Text_NI and
// Text_nPoly, then three bytes: the length of the nPoly text (mod 16), the
// length of the NI text (mod 16), and the switches (bit 0: Conformal Mapping
// ticked, bit 1: PW Cubic Spline chosen instead of Lagrange, bits 2 to 4: a
// turn and bits 5 to 7: a shift of the contour read, either of which puts it
// on the mapping route, tilted and shifted off its chord line).
//
// Invariants: a refused file leaves the workspace as it was; a refused run is
// one refusal with a message; an accepted run gives NI finite new points for
// the NI typed, NCamber = (NI + 1) / 2 with finite camber points and a
// finite quality report; both files are written, hold the points to five
// decimals, and the coordinate file opens again with its title and points
// unless its points give the reader a reason to refuse it (no chord or no
// nose at five decimals, a title grown too long).
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/redistribute.h"
#include "engine/workspace_result.h"
#include "files/airfoil_file_reader.h"
#include "files/number_text.h"
#include "files/result_file_writer.h"
#include "fuzz_support.h"
#include "workspace/airfoil_workspace.h"

namespace quilane::fuzz {
namespace {

struct Settings {
  std::string ni_text;
  std::string npoly_text;
  bool mapping = false;
  bool pwcubic = false;
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
  std::size_t npoly_length = byte(3) % 16;
  input.remove_suffix(3);
  settings.mapping = (switches & 1) != 0;
  settings.pwcubic = (switches & 2) != 0;
  settings.turn = static_cast<int>((switches >> 2) & 7);
  settings.shift = static_cast<int>((switches >> 5) & 7);
  if (settings.moved()) settings.mapping = true;
  ni_length = std::min(ni_length, input.size());
  settings.ni_text = std::string(input.substr(input.size() - ni_length));
  input.remove_suffix(ni_length);
  npoly_length = std::min(npoly_length, input.size());
  settings.npoly_text = std::string(input.substr(input.size() - npoly_length));
  input.remove_suffix(npoly_length);
  return input;
}

// The loaded contour, turned about the origin and shifted as the settings say.
Contour MovedContour(const AirfoilWorkspace& ws, const Settings& settings) {
  Contour contour{std::vector<double>(ws.X.begin() + 1, ws.X.begin() + 1 + ws.N),
                  std::vector<double>(ws.Y.begin() + 1, ws.Y.begin() + 1 + ws.N)};
  if (!settings.moved()) return contour;
  const double angle = (settings.turn - 4) * 0.15;
  const double c = std::cos(angle);
  const double s = std::sin(angle);
  for (std::size_t i = 0; i < contour.x.size(); ++i) {
    const double x = contour.x[i];
    const double y = contour.y[i];
    contour.x[i] = c * x - s * y + (settings.shift - 4) * 0.35;
    contour.y[i] = s * x + c * y + (settings.shift - 4) * 0.12;
  }
  return contour;
}

void CheckRefusal(const Refusal& refusal) {
  Check(!refusal.message.empty(), "a refusal without a message");
  Check(refusal.index >= 0 && refusal.index <= kPointCapacity, "a refusal's index is out of range");
}

// Whether the reader may refuse the written coordinate file: its points at
// five decimals have one x, or x never decreases, or its chord is not a
// finite number, or its title grew beyond the reader's limit.
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

void CheckWrittenPoints(const ResultFile& file, const std::string& count_text, int count,
                        const PointArray& x, const PointArray& y, const char* which) {
  const std::string name = which;
  Check(file.well_formed, "the " + name + " file does not have the result layout");
  Check(file.count_text == count_text, "the " + name + " file's count is " + file.count_text);
  Check(static_cast<int>(file.x.size()) == count, "the " + name + " file has another count");
  for (int i = 1; i <= count; ++i) {
    Check(SameToFiveDecimals(file.x[i - 1], x[i]) && SameToFiveDecimals(file.y[i - 1], y[i]),
          "the " + name + " file's point " + FormatWhole(i) + " differs");
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

  static AirfoilWorkspace ws;  // static for its size; fresh for every input
  ws = AirfoilWorkspace();
  ws.Pi = 4 * std::atan(1.0);
  ws.InputPath = input;
  AirfoilWorkspace before = ws;
  const FileResult loaded = LoadAirfoilFile(ws);
  if (!loaded.ok) {
    Check(ws == before, "a refused file changed the workspace");
    return 0;
  }

  RedistributeSettings run;
  run.route = settings.mapping ? Route::kConformalMapping : Route::kAlongChord;
  run.method = settings.pwcubic ? Method::kPwCubic : Method::kLagrange;
  std::optional<Refusal> unread = ReadPointCount(settings.ni_text, run.points);
  if (!unread && !settings.pwcubic) unread = ReadDegree(settings.npoly_text, run.degree);
  if (unread) {
    CheckRefusal(*unread);
    return 0;
  }
  const RedistributeOutcome outcome = Redistribute(MovedContour(ws, settings), run);
  if (!outcome.ok()) {
    Check(outcome.refusal.has_value(), "a run neither done nor refused");
    CheckRefusal(*outcome.refusal);
    return 0;
  }
  const RedistributeResult& result = *outcome.result;
  const QualityReport& report = result.report;
  Check(std::isfinite(report.max_deviation) && std::isfinite(report.mean_deviation),
        "the quality report is not finite: " + FormatMessageNumber(report.max_deviation) + ", " +
            FormatMessageNumber(report.mean_deviation));
  Check(report.mean_deviation <= report.max_deviation * (1 + 1e-12),
        "the mean deviation exceeds the largest");
  Check(report.max_deviation_point >= 1 && report.max_deviation_point <= run.points,
        "the quality report names no new point: " + FormatWhole(report.max_deviation_point));
  StoreRedistribution(result, ws);
  const double typed = ValueOfString(settings.ni_text);
  Check(ws.NI.IsSet() && ws.NI == typed, "NI is not the typed number");
  for (int i = 1; i <= ws.NI; ++i) {
    Check(std::isfinite(ws.XI[i]) && std::isfinite(ws.YI[i]), "a new point is not finite");
  }
  Check(ws.NCamber.IsSet() && ws.NCamber == (ws.NI + 1) / 2.0, "NCamber is not (NI + 1) / 2");
  const int camber_points = static_cast<int>(ws.NCamber);
  for (int i = 1; i <= camber_points; ++i) {
    Check(std::isfinite(ws.XCamber[i]) && std::isfinite(ws.YCamber[i]),
          "a camber point is not finite");
  }

  ws.SaveName = (folder / "out.arf").string();
  ws.CamberName = CamberFileName(ws.SaveName);
  const FileResult written = WriteResultFiles(ws);
  Check(written.ok, "saving failed: " + written.message);
  const ResultFile coordinates = ParseResultFile(ReadBytes(ws.SaveName));
  CheckWrittenPoints(coordinates, FormatWhole(ws.NI), ws.NI, ws.XI, ws.YI, "coordinate");
  const ResultFile camber = ParseResultFile(ReadBytes(ws.CamberName));
  CheckWrittenPoints(camber, FormatShortest(ws.NCamber), camber_points, ws.XCamber,
                     ws.YCamber, "camber");

  AirfoilWorkspace again;
  again.InputPath = ws.SaveName;
  const FileResult reread = ReadAirfoilFile(again);
  if (!reread.ok) {
    Check(MayRefuse(coordinates, ws.PlotTitle),
          "the saved file does not open again: " + reread.message);
    return 0;
  }
  Check(again.AirfoilTitle == ws.PlotTitle, "the saved title reads back as " + again.AirfoilTitle);
  Check(again.N == ws.NI, "the saved file reads back with another count");
  for (int i = 1; i <= again.N; ++i) {
    const double x = again.X[i] * again.Chord + again.Xmin;
    // Normalising and undoing it cost a few units in the last place of the
    // larger of x and Xmin.
    const double slack = (std::abs(coordinates.x[i - 1]) + std::abs(again.Xmin)) * 8e-16;
    Check(std::abs(x - coordinates.x[i - 1]) <= slack,
          "the saved x of point " + FormatWhole(i) + ", " +
              FormatMessageNumber(coordinates.x[i - 1]) + ", reads back as " +
              FormatMessageNumber(x) + " (X " + FormatMessageNumber(again.X[i]) + ", chord " +
              FormatMessageNumber(again.Chord) + ", Xmin " + FormatMessageNumber(again.Xmin) +
              ")");
    Check(again.Y[i] == coordinates.y[i - 1], "a saved y reads back differently");
  }
  return 0;
}
