// quilane_decimation: how faithfully each way of re-spacing keeps the shape
// of published sections, by the decimation test, beside a panel code's
// figures for the same files.
//
// For every file of FOLDER with at least 150 points (after dropping a point
// equal to the one before it):
//   1. the truth: a not-a-knot cubic spline through all its points in their
//      file order, in the polygon's length, sampled at 40,000 evenly spaced
//      parameter values;
//   2. the sparse input: the points of file index 0, 3, 6, ... plus the
//      first, the last and the nose (smallest x);
//   3. the sparse input re-spaced to NI points by each way below;
//   4. each new point's distance from the truth (nearest sample, refined to
//      the two sample segments about it), divided by the chord (largest minus
//      smallest x of all points); the file's figure is the largest.
// Prints, per way, the 50th, 90th and 99th percentile over the files (linear
// between order statistics), the share of all files on which the way comes
// closer than the panel code (a refused file is not closer), the refusals,
// and for placement on the spline the largest move along the contour: the
// component of (placed - route's point) along the local direction of the new
// points (from point i-1 to i+1), over the shorter of the two panels at the
// point.
//
//   quilane_decimation [-n NI] [FOLDER [PANEL_CODE_CSV]]
//
// The defaults are the database sample and its panel-code figures beside the
// project. The CSV has lines "file,points,max_deviation,mean_deviation".
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "engine/contour_spline.h"
#include "engine/redistribute.h"
#include "files/coordinate_file.h"

namespace quilane::bench {
namespace {

namespace fs = std::filesystem;

constexpr int kTruthSamples = 40000;
constexpr std::size_t kSmallestFile = 150;

struct Way {
  const char* name;
  Route route;
  Method method;
  int degree;
  bool on_spline;
};

constexpr Way kWays[] = {
    {"conformal mapping, PW cubic", Route::kConformalMapping, Method::kPwCubic, 0, false},
    {"conformal mapping, Lagrange 3", Route::kConformalMapping, Method::kLagrange, 3, false},
    {"along the chord, PW cubic", Route::kAlongChord, Method::kPwCubic, 0, false},
    {"along the chord, Lagrange 1", Route::kAlongChord, Method::kLagrange, 1, false},
    {"conformal mapping, PW cubic, on-spline", Route::kConformalMapping, Method::kPwCubic, 0, true},
    {"conformal mapping, Lagrange 3, on-spline", Route::kConformalMapping, Method::kLagrange, 3,
     true},
    {"along the chord, PW cubic, on-spline", Route::kAlongChord, Method::kPwCubic, 0, true},
    {"along the chord, Lagrange 1, on-spline", Route::kAlongChord, Method::kLagrange, 1, true},
};

// The truth sampled evenly in its parameter.
std::vector<double> SampleTruth(const std::vector<double>& x, const std::vector<double>& y,
                                std::vector<double>& sy) {
  const ContourSpline curve = MakeContourSpline(x, y, SplineEnds::kNotAKnot);
  const std::vector<double>& knots = curve.knot_s;
  std::vector<double> sx(kTruthSamples);
  sy.assign(kTruthSamples, 0.0);
  std::size_t piece = 0;
  for (int j = 0; j < kTruthSamples; ++j) {
    const double s = knots.back() * j / (kTruthSamples - 1);
    while (piece + 2 < knots.size() && s > knots[piece + 1]) ++piece;
    const double t = std::clamp((s - knots[piece]) / (knots[piece + 1] - knots[piece]), 0.0, 1.0);
    sx[j] = curve.pieces[piece].X(t);
    sy[j] = curve.pieces[piece].Y(t);
  }
  return sx;
}

double SegmentDistance(double ax, double ay, double bx, double by, double px, double py) {
  const double dx = bx - ax, dy = by - ay;
  const double length2 = dx * dx + dy * dy;
  const double t =
      length2 > 0 ? std::clamp(((px - ax) * dx + (py - ay) * dy) / length2, 0.0, 1.0) : 0.0;
  return std::hypot(ax + t * dx - px, ay + t * dy - py);
}

double DistanceToTruth(const std::vector<double>& sx, const std::vector<double>& sy, double px,
                       double py) {
  std::size_t nearest = 0;
  double best = HUGE_VAL;
  for (std::size_t j = 0; j < sx.size(); ++j) {
    const double d = (sx[j] - px) * (sx[j] - px) + (sy[j] - py) * (sy[j] - py);
    if (d < best) best = d, nearest = j;
  }
  double distance = std::sqrt(best);
  if (nearest > 0) {
    distance = std::min(distance, SegmentDistance(sx[nearest - 1], sy[nearest - 1], sx[nearest],
                                                  sy[nearest], px, py));
  }
  if (nearest + 1 < sx.size()) {
    distance = std::min(distance, SegmentDistance(sx[nearest], sy[nearest], sx[nearest + 1],
                                                  sy[nearest + 1], px, py));
  }
  return distance;
}

// numpy's default percentile: linear between the order statistics.
double Percentile(std::vector<double> values, double p) {
  if (values.empty()) return NAN;
  std::sort(values.begin(), values.end());
  const double at = p / 100 * static_cast<double>(values.size() - 1);
  const std::size_t low = static_cast<std::size_t>(at);
  const std::size_t high = std::min(low + 1, values.size() - 1);
  return values[low] + (at - static_cast<double>(low)) * (values[high] - values[low]);
}

std::map<std::string, double> ReadPanelCode(const fs::path& csv, int points) {
  std::map<std::string, double> figures;
  std::ifstream in(csv);
  std::string line;
  while (std::getline(in, line)) {
    const std::size_t a = line.find(','), b = line.find(',', a + 1), c = line.find(',', b + 1);
    if (c == std::string::npos || line.substr(a + 1, b - a - 1) != std::to_string(points)) continue;
    double value = 0;
    if (std::from_chars(line.data() + b + 1, line.data() + c, value).ec == std::errc()) {
      figures[line.substr(0, a)] = value;
    }
  }
  return figures;
}

// Largest move along the contour of a placed point from the route's, over
// the shorter panel at it.
double LargestMoveAlong(const RedistributeResult& route, const RedistributeResult& placed,
                        double chord) {
  double largest = 0.0;
  const std::vector<double>&x = placed.x, &y = placed.y;
  for (std::size_t i = 1; i + 1 < x.size(); ++i) {
    const double tx = x[i + 1] - x[i - 1], ty = (y[i + 1] - y[i - 1]) / chord;
    const double along =
        std::abs((x[i] - route.x[i]) * tx + (y[i] - route.y[i]) / chord * ty) / std::hypot(tx, ty);
    const double shorter = std::min(std::hypot(x[i] - x[i - 1], (y[i] - y[i - 1]) / chord),
                                    std::hypot(x[i + 1] - x[i], (y[i + 1] - y[i]) / chord));
    largest = std::max(largest, along / shorter);
  }
  return largest;
}

struct Row {
  std::vector<double> figures;  // per file that ran
  int closer = 0;
  int refused = 0;
  double largest_move = 0.0;
};

int Run(int argc, char** argv) {
  int points = 101;
  std::vector<std::string> paths;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "-n" && i + 1 < argc) {
      points = std::stoi(argv[++i]);
    } else {
      paths.push_back(arg);
    }
  }
  const fs::path folder = paths.size() > 0 ? fs::path(paths[0]) : fs::path(QUILANE_DATABASE_SAMPLE);
  const fs::path csv = paths.size() > 1 ? fs::path(paths[1]) : fs::path(QUILANE_PANEL_CODE_CSV);
  const std::map<std::string, double> panel_code = ReadPanelCode(csv, points);

  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() == ".dat") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());

  std::vector<Row> rows(std::size(kWays));
  std::vector<double> panel_figures;
  int taken = 0;
  for (const fs::path& file : files) {
    const Expected<LoadedFile> loaded = LoadCoordinateFile(file.string());
    if (!loaded || loaded->section.contour.x.size() < kSmallestFile) continue;
    const Section& section = loaded->section;
    // The points as the file lists them, in its units.
    std::vector<double> x = section.contour.x, y = section.contour.y;
    for (double& v : x) v = v * section.chord + section.x_min;
    if (loaded->summary.reversed == false && loaded->summary.format != "arf") {
      // Selig and ISES files list the upper surface first; the reader turned them round.
      std::reverse(x.begin(), x.end());
      std::reverse(y.begin(), y.end());
    }
    const std::size_t nose = std::min_element(x.begin(), x.end()) - x.begin();
    Contour sparse;
    for (std::size_t i = 0; i < x.size(); ++i) {
      if (i % 3 == 0 || i + 1 == x.size() || i == nose) {
        sparse.x.push_back(x[i]);
        sparse.y.push_back(y[i]);
      }
    }
    PutLoopInProgramOrder(sparse);
    const Expected<Section> decimated = MakeSection(section.title, std::move(sparse), {});
    if (!decimated) continue;
    ++taken;
    std::vector<double> sy;
    const std::vector<double> sx = SampleTruth(x, y, sy);
    const double chord = *std::max_element(x.begin(), x.end()) - x[nose];
    const auto pane = panel_code.find(file.filename().string());
    if (pane != panel_code.end()) panel_figures.push_back(pane->second);

    std::vector<Expected<RedistributeResult>> results;
    for (std::size_t w = 0; w < std::size(kWays); ++w) {
      const Way& way = kWays[w];
      RedistributeSettings settings{points,     way.route, way.method,
                                    way.degree, false,     way.on_spline};
      results.push_back(Redistribute(*decimated, settings));
      Row& row = rows[w];
      const Expected<RedistributeResult>& result = results.back();
      if (!result) {
        ++row.refused;
        continue;
      }
      double largest = 0.0;
      for (std::size_t i = 0; i < result->x.size(); ++i) {
        const double px = result->x[i] * decimated->chord + decimated->x_min;
        largest = std::max(largest, DistanceToTruth(sx, sy, px, result->y[i]) / chord);
      }
      row.figures.push_back(largest);
      if (pane != panel_code.end() && largest < pane->second) ++row.closer;
      if (way.on_spline && w >= 4 && results[w - 4]) {
        row.largest_move = std::max(row.largest_move,
                                    LargestMoveAlong(*results[w - 4], *result, decimated->chord));
      }
    }
  }

  std::printf("Decimation test, %d new points, %d files of %s with at least %zu points\n\n", points,
              taken, folder.string().c_str(), kSmallestFile);
  std::printf(
      "| re-spacing | p50 | p90 | p99 | closer than the panel code | refused |"
      " largest move along |\n|---|---|---|---|---|---|---|\n");
  std::printf("| panel code (%s) | %.3g | %.3g | %.3g | | | |\n", csv.filename().string().c_str(),
              Percentile(panel_figures, 50), Percentile(panel_figures, 90),
              Percentile(panel_figures, 99));
  for (std::size_t w = 0; w < std::size(kWays); ++w) {
    const Row& row = rows[w];
    std::printf("| %s | %.3g | %.3g | %.3g | %d of %d (%.0f %%) | %d |", kWays[w].name,
                Percentile(row.figures, 50), Percentile(row.figures, 90),
                Percentile(row.figures, 99), row.closer, taken, 100.0 * row.closer / taken,
                row.refused);
    if (kWays[w].on_spline) {
      std::printf(" %.2g |\n", row.largest_move);
    } else {
      std::printf(" |\n");
    }
  }
  return 0;
}

}  // namespace
}  // namespace quilane::bench

int main(int argc, char** argv) { return quilane::bench::Run(argc, argv); }
