// Every published section through the whole chain of the core, as every
// front end runs it: import the .dat file, redistribute on each route with
// each method, export the new points as a Selig file and import them again.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "engine/quality_report.h"
#include "engine/redistribute.h"
#include "files/coordinate_file.h"
#include "files/dat_file_writer.h"
#include "files/file_save.h"
#include "test_sections.h"

namespace quilane {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> PublishedFiles(const fs::path& shared = QUILANE_SHARED_AIRFOILS_DIR) {
  std::vector<fs::path> files;
  if (!fs::is_directory(shared)) return files;
  for (const auto& entry : fs::recursive_directory_iterator(shared)) {
    if (entry.path().extension() == ".dat") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// Distance from (px, py) to the polyline through the input points.
double DistanceToContour(const Contour& c, double px, double py) {
  double nearest = INFINITY;
  for (std::size_t i = 0; i + 1 < c.x.size(); ++i) {
    const double dx = c.x[i + 1] - c.x[i];
    const double dy = c.y[i + 1] - c.y[i];
    const double length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? ((px - c.x[i]) * dx + (py - c.y[i]) * dy) / length2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    nearest = std::min(nearest, std::hypot(c.x[i] + t * dx - px, c.y[i] + t * dy - py));
  }
  return nearest;
}

// Largest distance of the new points from a dense polygon (64 steps a span)
// of a curve of our own through the input points: on each span the cubic
// through its two points and one neighbour on either side (two on one side at
// the ends), in the polygon's length as parameter, built in Lagrange form. It
// is local and independent of the report's global spline, and as accurate
// (fourth order), so the two agree wherever the new points lie measurably off.
double LargestDistanceFromLocalCubics(const Contour& c, const RedistributeResult& result,
                                      double& curve_gap) {
  std::vector<double> px, py;
  for (std::size_t i = 0; i < c.x.size(); ++i) {
    if (!px.empty() && c.x[i] == px.back() && c.y[i] == py.back()) continue;
    px.push_back(c.x[i]);
    py.push_back(c.y[i]);
  }
  const int m = static_cast<int>(px.size());
  std::vector<double> s(m, 0.0);
  for (int k = 1; k < m; ++k) s[k] = s[k - 1] + std::hypot(px[k] - px[k - 1], py[k] - py[k - 1]);
  std::vector<double> dense_x, dense_y;
  for (int k = 0; k + 1 < m; ++k) {
    const int first = std::clamp(k - 1, 0, std::max(m - 4, 0));
    const int count = std::min(4, m);
    for (int step = 0; step < 64; ++step) {
      const double u = s[k] + (s[k + 1] - s[k]) * step / 64.0;
      double x = 0.0, y = 0.0;
      for (int a = first; a < first + count; ++a) {
        double basis = 1.0;
        for (int b = first; b < first + count; ++b) {
          if (b != a) basis *= (u - s[b]) / (s[a] - s[b]);
        }
        x += basis * px[a];
        y += basis * py[a];
      }
      dense_x.push_back(x);
      dense_y.push_back(y);
    }
  }
  dense_x.push_back(px.back());
  dense_y.push_back(py.back());
  // How far this curve strays from the report's: the uncertainty of the
  // contour between the input points, which no measurement can resolve.
  curve_gap = MeasureQuality(c.x, c.y, dense_x, dense_y).max_deviation;
  const Contour dense{std::move(dense_x), std::move(dense_y)};
  double largest = 0.0;
  for (std::size_t j = 0; j < result.x.size(); ++j) {
    largest = std::max(largest, DistanceToContour(dense, result.x[j], result.y[j]));
  }
  return largest;
}


// Each section is done on every route where its shape allows. The route
// along the chord places its first and last stations at x = 1, so a section
// whose trailing edge is open in x (the published NACA 23012: its lower
// corner at x = 0.99994 of the chord) is refused there, a station out of
// range with the mapping as the way out; every other combination gives new
// points on the contour that export and import again to the six written
// decimals.
TEST(PublishedSectionsTest, RedistributeOnEveryRouteTheirShapeAllowsAndExport) {
  const auto files = PublishedFiles();
  if (files.empty()) GTEST_SKIP() << "no published sections";
  std::random_device random;
  const fs::path scratch =
      fs::temp_directory_path() / ("quilane-published-" + std::to_string(random()));
  fs::create_directories(scratch);
  int done = 0;
  int refused = 0;
  for (const fs::path& file : files) {
    const Expected<LoadedFile> loaded = LoadCoordinateFile(file.string());
    ASSERT_TRUE(loaded) << loaded.error().message;
    const Section& section = loaded->section;
    const Contour& contour = section.contour;
    const bool ends_at_one = contour.x.front() == 1.0 && contour.x.back() == 1.0;
    for (const test::Way& route : test::kEveryWay) {
      for (const int ni : {60, 101}) {
        SCOPED_TRACE(file.string() + ", " + route.name + ", NI = " + std::to_string(ni));
        const Expected<RedistributeResult> result =
            Redistribute(section, test::SettingsOf(route, ni));
        if (route.route == Route::kAlongChord && !ends_at_one) {
          ++refused;
          ASSERT_FALSE(result);
          EXPECT_EQ(result.error().code, RefusalCode::kStationOutOfRange);
          EXPECT_EQ(result.error().way_out, WayOut::kConformalMapping);
          continue;
        }
        ASSERT_TRUE(result) << result.error().message;
        ++done;
        ASSERT_EQ(result->x.size(), static_cast<std::size_t>(ni));
        for (int i = 0; i < ni; ++i) {
          EXPECT_LT(DistanceToContour(contour, result->x[i], result->y[i]), 2e-3)
              << "new point " << i + 1;
        }
        // The report's largest deviation against a curve of our own.
        double gap = 0.0;
        const double own = LargestDistanceFromLocalCubics(contour, *result, gap);
        const QualityReport& report = result->report;
        // Within a quarter, beyond how far the two curves themselves stray
        // apart where the file's points leave the contour open (at a nose
        // given by few points, up to 2e-4 of the chord).
        EXPECT_NEAR(report.max_deviation, own, 0.25 * own + gap)
            << "curves " << gap << " apart";
        EXPECT_LT(report.max_deviation, 0.005);

        const std::string exported = (scratch / "export.dat").string();
        const std::string text = SeligFileText(result->title, result->x, result->y);
        const std::optional<Refusal> written = WriteTextFile(exported, text, "Selig file");
        ASSERT_FALSE(written) << written->message;
        const Expected<LoadedFile> back = LoadCoordinateFile(exported);
        ASSERT_TRUE(back) << back.error().message;
        const Section& again = back->section;
        EXPECT_EQ(again.title, result->title);
        ASSERT_EQ(again.contour.x.size(), result->x.size());
        const double half_unit = 0.5e-6 * (1.0 + 1e-9);
        for (int i = 0; i < ni; ++i) {
          EXPECT_NEAR(again.contour.x[i] * again.chord + again.x_min, result->x[i], half_unit)
              << i + 1;
          EXPECT_NEAR(again.contour.y[i], result->y[i], half_unit) << i + 1;
        }
      }
    }
  }
  fs::remove_all(scratch);
  // The two files of the NACA 23012 along the chord, four ways, two counts.
  const int ways = static_cast<int>(std::size(test::kEveryWay));
  EXPECT_EQ(refused, 2 * 4 * 2);
  EXPECT_EQ(done, static_cast<int>(files.size()) * ways * 2 - refused);
}

// A section is the same section in any units: its points scaled by s and
// shifted give the same normalised new x, and new y that are the run's own
// scaled and shifted alike, on every route with every method, or the same
// refusal.
TEST(PublishedSectionsTest, TheSameSectionInAnyUnitsGivesTheSamePoints) {
  std::vector<fs::path> files = PublishedFiles();
  for (const fs::path& file : PublishedFiles(QUILANE_DATABASE_SAMPLE_DIR)) files.push_back(file);
  if (files.empty()) GTEST_SKIP() << "no published sections";
  const double a = 1.5, b = -0.25;
  int compared = 0;
  for (const fs::path& file : files) {
    const Expected<LoadedFile> loaded = LoadCoordinateFile(file.string());
    ASSERT_TRUE(loaded) << file << ": " << loaded.error().message;
    const Section& own = loaded->section;
    for (const double s : {0.01, 100.0, 1000.0}) {
      Contour scaled = own.contour;
      for (double& x : scaled.x) x = s * (x * own.chord + own.x_min) + a;
      for (double& y : scaled.y) y = s * y + b;
      const Expected<Section> other = MakeSection(own.title, std::move(scaled), {});
      ASSERT_TRUE(other) << other.error().message;
      const double tolerance = 1e-9 * other->chord;
      for (const test::Way& way : test::kEveryWay) {
        SCOPED_TRACE(file.filename().string() + ", " + way.name + ", s = " + std::to_string(s));
        const auto expected = Redistribute(own, test::SettingsOf(way, 101));
        const auto result = Redistribute(*other, test::SettingsOf(way, 101));
        ASSERT_EQ(result.has_value(), expected.has_value());
        if (!expected) {
          EXPECT_EQ(result.error().code, expected.error().code);
          continue;
        }
        ++compared;
        for (std::size_t i = 0; i < expected->x.size(); ++i) {
          ASSERT_NEAR(result->x[i], expected->x[i], 1e-9) << "new point " << i + 1;
          ASSERT_NEAR(result->y[i], s * expected->y[i] + b, tolerance) << "new point " << i + 1;
        }
      }
    }
  }
  EXPECT_GT(compared, static_cast<int>(files.size()) * 3 * 4);
}

}  // namespace
}  // namespace quilane
