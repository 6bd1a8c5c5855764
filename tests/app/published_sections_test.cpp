// Every published section through the whole tool chain, as the window and
// the command-line tool do it: import the .dat file, redistribute on each
// route with each method, export the new points as a Selig file and import
// them again.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <random>
#include <span>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/quality_report.h"
#include "engine/run_calculation.h"
#include "engine/run_host.h"
#include "files/dat_file_reader.h"
#include "files/dat_file_writer.h"
#include "workspace/airfoil_workspace.h"

namespace quilane {
namespace {

namespace fs = std::filesystem;

// The settings of one calculation, and the messages it showed.
class SettingsHost : public RunHost {
 public:
  SettingsHost(std::string ni, bool mapping, std::string npoly)
      : ni_(std::move(ni)), mapping_(mapping), npoly_(std::move(npoly)) {}

  std::string TextNI() override { return ni_; }
  bool MappingChecked() override { return mapping_; }
  bool LagrangeSelected() override { return !npoly_.empty(); }
  std::string TextNPoly() override { return npoly_; }
  void ShowMessage(const std::string& text) override { messages += text + "\n"; }
  void SetScrollX0(int) override {}
  void SetScrollOlcek(int) override {}
  void SetScrollY0(int) override {}
  void ShowAirfoil(int, const PointArray&, const PointArray&, int, const PointArray&,
                   const PointArray&) override {}

  std::string messages;

 private:
  std::string ni_;
  bool mapping_;
  std::string npoly_;  // empty: the piecewise cubic
};

std::vector<fs::path> PublishedFiles() {
  std::vector<fs::path> files;
  const fs::path shared = QUILANE_SHARED_AIRFOILS_DIR;
  if (!fs::is_directory(shared)) return files;
  for (const auto& entry : fs::recursive_directory_iterator(shared)) {
    if (entry.path().extension() == ".dat") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// Distance from (px, py) to the polyline through the input points.
double DistanceToContour(const AirfoilWorkspace& ws, double px, double py) {
  double nearest = INFINITY;
  for (int i = 1; i < ws.N; ++i) {
    const double dx = ws.X[i + 1] - ws.X[i];
    const double dy = ws.Y[i + 1] - ws.Y[i];
    const double length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? ((px - ws.X[i]) * dx + (py - ws.Y[i]) * dy) / length2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    nearest = std::min(nearest, std::hypot(ws.X[i] + t * dx - px, ws.Y[i] + t * dy - py));
  }
  return nearest;
}

// Largest distance of the new points from a dense polygon (64 steps a span)
// of a curve of our own through the input points: on each span the cubic
// through its two points and one neighbour on either side (two on one side at
// the ends), in the polygon's length as parameter, built in Lagrange form. It
// is local and independent of the report's global spline, and as accurate
// (fourth order), so the two agree wherever the new points lie measurably off.
double LargestDistanceFromLocalCubics(const AirfoilWorkspace& ws, double& curve_gap) {
  std::vector<double> px, py;
  for (int i = 1; i <= ws.N; ++i) {
    if (!px.empty() && ws.X[i] == px.back() && ws.Y[i] == py.back()) continue;
    px.push_back(ws.X[i]);
    py.push_back(ws.Y[i]);
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
  curve_gap = MeasureQuality(std::span<const double>(ws.X.data() + 1, ws.N),
                             std::span<const double>(ws.Y.data() + 1, ws.N), dense_x, dense_y)
                  .max_deviation;
  double largest = 0.0;
  for (int j = 1; j <= ws.NI; ++j) {
    double nearest = INFINITY;
    for (std::size_t k = 0; k + 1 < dense_x.size(); ++k) {
      const double dx = dense_x[k + 1] - dense_x[k], dy = dense_y[k + 1] - dense_y[k];
      const double length2 = dx * dx + dy * dy;
      double t = length2 > 0 ? ((ws.XI[j] - dense_x[k]) * dx + (ws.YI[j] - dense_y[k]) * dy) / length2
                             : 0.0;
      t = std::clamp(t, 0.0, 1.0);
      nearest = std::min(nearest, std::hypot(dense_x[k] + t * dx - ws.XI[j],
                                             dense_y[k] + t * dy - ws.YI[j]));
    }
    largest = std::max(largest, nearest);
  }
  return largest;
}

struct Route {
  const char* name;
  bool mapping;
  const char* npoly;  // "" for the piecewise cubic
};

const Route kRoutes[] = {
    {"along the chord, Lagrange 1", false, "1"},
    {"along the chord, Lagrange 3", false, "3"},
    {"along the chord, piecewise cubic", false, ""},
    {"mapping, Lagrange 1", true, "1"},
    {"mapping, Lagrange 3", true, "3"},
    {"mapping, piecewise cubic", true, ""},
};

// Each section is done on every route where its shape allows. The route
// along the chord places its first and last stations at x = 1, so a section
// whose trailing edge is open in x (the published NACA 23012: its lower
// corner at x = 0.99994 of the chord) is refused there with the
// interpolation's out-of-range message, and nothing changes; every other
// combination gives new points on the contour that export and import again
// to the six written decimals.
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
    for (const Route& route : kRoutes) {
      for (const char* ni : {"60", "101"}) {
        SCOPED_TRACE(file.string() + ", " + route.name + ", NI = " + ni);
        AirfoilWorkspace ws;
        ws.Pi = 4.0 * std::atan(1.0);
        ASSERT_TRUE(LoadDatFile(ws, file.string()).ok);
        SettingsHost host(ni, route.mapping, route.npoly);
        const bool ends_at_one = ws.X[1] == 1.0 && ws.X[ws.N] == 1.0;
        const AirfoilWorkspace before = ws;
        QualityReport report;
        const bool ran = RunCalculation(ws, host, &report);
        if (!route.mapping && !ends_at_one) {
          ++refused;
          EXPECT_FALSE(ran);
          EXPECT_NE(host.messages.find("is not in the given interpolation range"),
                    std::string::npos)
              << host.messages;
          EXPECT_TRUE(ws == before);
          continue;
        }
        ASSERT_TRUE(ran) << host.messages;
        ++done;
        EXPECT_EQ(ws.NI, std::stoi(ni));
        for (int i = 1; i <= ws.NI; ++i) {
          EXPECT_LT(DistanceToContour(ws, ws.XI[i], ws.YI[i]), 2e-3) << "new point " << i;
        }
        // The report's largest deviation against a curve of our own.
        double gap = 0.0;
        const double own = LargestDistanceFromLocalCubics(ws, gap);
        // Within a quarter, beyond how far the two curves themselves stray
        // apart where the file's points leave the contour open (at a nose
        // given by few points, up to 2e-4 of the chord).
        EXPECT_NEAR(report.max_deviation, own, 0.25 * own + gap)
            << "curves " << gap << " apart";
        EXPECT_LT(report.max_deviation, 0.005);

        const std::string exported = (scratch / "export.dat").string();
        ASSERT_TRUE(WriteSeligFile(ws, exported).ok);
        AirfoilWorkspace back;
        const FileResult read = LoadDatFile(back, exported);
        ASSERT_TRUE(read.ok) << read.message;
        EXPECT_EQ(back.AirfoilTitle, ws.PlotTitle);
        ASSERT_EQ(back.N, ws.NI);
        const double half_unit = 0.5e-6 * (1.0 + 1e-9);
        for (int i = 1; i <= back.N; ++i) {
          EXPECT_NEAR(back.X[i] * back.Chord + back.Xmin, ws.XI[i], half_unit) << i;
          EXPECT_NEAR(back.Y[i], ws.YI[i], half_unit) << i;
        }
      }
    }
  }
  fs::remove_all(scratch);
  // The two files of the NACA 23012 along the chord, three methods, two counts.
  EXPECT_EQ(refused, 2 * 3 * 2);
  EXPECT_EQ(done, static_cast<int>(files.size()) * 12 - refused);
}

}  // namespace
}  // namespace quilane
