// quilane_sample_quality: how the calculation fares on a collection of
// published coordinate files, route by route, with the quality report of
// every result. For each file that reads (as the command-line tool reads it)
// it runs Redistribute on
//   - the conformal mapping with the piecewise cubic (NI = 101 by default),
//   - the same with the mapping laid on the x axis as read, without the chord
//     frame (the steps called one by one, as the run made them before the
//     frame was introduced), for comparison,
//   - the route along the chord with the window's defaults (NI = 51,
//     Lagrange nPoly = 1),
// and prints per route: files read, redistributed, refused (by reason), the
// largest deviation and its file, how many lie more than 0.5 % and 1 % of
// the chord off, and whether each one above 0.5 % carries the warning.
//
//   quilane_sample_quality [-n NI] [--files] PATH...
//
// PATH is a coordinate file or a folder, whose *.dat and *.arf files are
// taken (not its subfolders). --files adds one line per file and route.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "engine/map_airfoil_to_circle.h"
#include "engine/map_circle_to_airfoil.h"
#include "engine/quality_report.h"
#include "engine/redistribute.h"
#include "engine/run_steps.h"
#include "files/coordinate_file.h"
#include "workspace/airfoil_workspace.h"

namespace quilane::bench {
namespace {

namespace fs = std::filesystem;

const char* CodeName(RefusalCode code) {
  switch (code) {
    case RefusalCode::kUsage: return "usage";
    case RefusalCode::kUnreadableFile: return "unreadable file";
    case RefusalCode::kNotPlainText: return "not plain text";
    case RefusalCode::kMalformedFile: return "malformed file";
    case RefusalCode::kUnusableContour: return "unusable contour";
    case RefusalCode::kUnknownSection: return "unknown section";
    case RefusalCode::kNoContour: return "no contour";
    case RefusalCode::kPointCount: return "point count";
    case RefusalCode::kDegree: return "degree";
    case RefusalCode::kDegreeNotBelowN: return "degree not below N";
    case RefusalCode::kNoseAtEnd:
      return "nose at an end";
    case RefusalCode::kSurfacesCross:
      return "surfaces cross";
    case RefusalCode::kUpperSurfaceFirst: return "upper surface first";
    case RefusalCode::kOutsideChord: return "point outside the chord";
    case RefusalCode::kNoChordLine: return "no chord line";
    case RefusalCode::kSingularPoint: return "point on the singular point";
    case RefusalCode::kOutOfOrder: return "curve out of order";
    case RefusalCode::kStationOutOfRange: return "station out of range";
    case RefusalCode::kSingularStation: return "station on the singular point";
    case RefusalCode::kNonFinitePoint: return "new point not finite";
    case RefusalCode::kNonFiniteCamber: return "camber point not finite";
    case RefusalCode::kDeviationTooLarge: return "deviation too large";
    case RefusalCode::kBadFileName: return "bad file name";
    case RefusalCode::kWriteFailed: return "write failed";
    case RefusalCode::kReplacesInput: return "replaces the input";
    case RefusalCode::kReplacesResult: return "replaces a result";
  }
  return "?";
}

struct Tally {
  std::string name;
  int runs = 0;
  int done = 0;
  std::map<std::string, int> refused;
  double worst = -1.0;
  std::string worst_file;
  int worst_point = 0;
  int above_half = 0;
  int above_one = 0;
  int warned = 0;

  void Done(const std::string& file, const QualityReport& report, bool list) {
    ++runs;
    ++done;
    if (report.max_deviation > worst) {
      worst = report.max_deviation;
      worst_file = file;
      worst_point = report.max_deviation_point;
    }
    if (report.max_deviation > 0.005) ++above_half;
    if (report.max_deviation > 0.01) ++above_one;
    if (!QualityWarning(report, "").empty()) ++warned;
    if (list) {
      std::printf("  %-28s %-34s %s\n", file.c_str(), name.c_str(),
                  DescribeReport(report).c_str());
    }
  }
  void Refused(const std::string& file, const Refusal& refusal, bool list) {
    ++runs;
    ++refused[CodeName(refusal.code)];
    if (list) {
      std::printf("  %-28s %-34s refused (%s): %s\n", file.c_str(), name.c_str(),
                  CodeName(refusal.code), refusal.message.c_str());
    }
  }
  void Print(int read) const {
    std::printf("%s: %d of %d files redistributed (%.1f %%)", name.c_str(), done, read,
                read > 0 ? 100.0 * done / read : 0.0);
    for (const auto& [reason, count] : refused) {
      std::printf("; %d refused: %s", count, reason.c_str());
    }
    std::printf("\n  largest deviation %.4g chord (%.2f %%) in %s at new point %d; "
                "%d above 0.5 %%, %d above 1 %%; %d carry the warning\n",
                worst, worst * 100, worst_file.c_str(), worst_point, above_half, above_one, warned);
  }
};

// The mapping route as the run made it before the chord frame: the contour
// mapped as it stands, on the x axis.
std::optional<QualityReport> MappingWithoutFrame(const Section& section, int ni,
                                                 Refusal& refusal) {
  auto ws = std::make_unique<AirfoilWorkspace>();
  StoreSection(*ws, section);
  ws->NI = ni;
  if (auto refused = CheckContourForRoute(*ws, true)) {
    refusal = *refused;
    return std::nullopt;
  }
  if (MapAirfoilToCircle(*ws) != 0) {
    refusal = Refusal(RefusalCode::kSingularPoint, "singular point");
    return std::nullopt;
  }
  for (int k = 1; k < ws->N; ++k) {
    if (!(ws->U[k] < ws->U[k + 1])) {
      refusal = PointRefusal(RefusalCode::kOutOfOrder, k, "out of order");
      return std::nullopt;
    }
  }
  if (auto refused = InterpolateCurve(*ws, false, 0)) {
    refusal = *refused;
    return std::nullopt;
  }
  if (MapCircleToAirfoil(*ws) != 0) {
    refusal = Refusal(RefusalCode::kSingularStation, "singular station");
    return std::nullopt;
  }
  for (int i = 1; i <= ws->NI; ++i) {
    if (!std::isfinite(ws->XI[i]) || !std::isfinite(ws->YI[i])) {
      refusal = PointRefusal(RefusalCode::kNonFinitePoint, i, "not finite");
      return std::nullopt;
    }
  }
  return MeasureQuality(std::span<const double>(ws->X.data() + 1, ws->N),
                        std::span<const double>(ws->Y.data() + 1, ws->N),
                        std::span<const double>(ws->XI.data() + 1, ws->NI),
                        std::span<const double>(ws->YI.data() + 1, ws->NI));
}

std::vector<fs::path> FilesOf(const std::vector<std::string>& paths) {
  std::vector<fs::path> files;
  for (const std::string& path : paths) {
    if (fs::is_directory(path)) {
      for (const auto& entry : fs::directory_iterator(path)) {
        const std::string extension = entry.path().extension().string();
        if (entry.is_regular_file() && (extension == ".dat" || extension == ".arf")) {
          files.push_back(entry.path());
        }
      }
    } else {
      files.emplace_back(path);
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

int Main(int argc, char** argv) {
  int ni = 101;
  bool list = false;
  std::vector<std::string> paths;
  for (int a = 1; a < argc; ++a) {
    const std::string arg = argv[a];
    if (arg == "-n" && a + 1 < argc) {
      ni = std::stoi(argv[++a]);
    } else if (arg == "--files") {
      list = true;
    } else {
      paths.push_back(arg);
    }
  }
  if (paths.empty()) {
    std::fprintf(stderr, "usage: quilane_sample_quality [-n NI] [--files] PATH...\n");
    return 2;
  }
  const std::vector<fs::path> files = FilesOf(paths);
  Tally mapping;
  mapping.name = "conformal mapping, PW cubic, NI " + std::to_string(ni);
  Tally unframed;
  unframed.name = "the same without the chord frame";
  Tally along;
  along.name = "along the chord, Lagrange 1, NI 51";
  int read = 0;
  for (const fs::path& file : files) {
    const std::string name = file.filename().string();
    const Expected<LoadedFile> loaded = LoadCoordinateFile(file.string());
    if (!loaded) {
      if (list) std::printf("  %-28s does not read\n", name.c_str());
      continue;
    }
    ++read;
    const Section& section = loaded->section;
    RedistributeSettings settings;
    settings.points = ni;
    settings.route = Route::kConformalMapping;
    settings.method = Method::kPwCubic;
    Expected<RedistributeResult> outcome = Redistribute(section, settings);
    if (outcome) {
      mapping.Done(name, outcome->report, list);
    } else {
      mapping.Refused(name, outcome.error(), list);
    }
    Refusal refusal;
    if (const auto report = MappingWithoutFrame(section, ni, refusal)) {
      unframed.Done(name, *report, list);
    } else {
      unframed.Refused(name, refusal, list);
    }
    outcome = Redistribute(section, RedistributeSettings());
    if (outcome) {
      along.Done(name, outcome->report, list);
    } else {
      along.Refused(name, outcome.error(), list);
    }
  }
  std::printf("%zu files, %d read\n", files.size(), read);
  mapping.Print(read);
  unframed.Print(read);
  along.Print(read);
  return 0;
}

}  // namespace
}  // namespace quilane::bench

int main(int argc, char** argv) { return quilane::bench::Main(argc, argv); }
