// Every published section through the whole tool chain, as the window and
// the command-line tool do it: import the .dat file, redistribute on each
// route with each method, export the new points as a Selig file and import
// them again.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

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
        const bool ran = RunCalculation(ws, host);
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
