#include "engine/map_circle_to_airfoil.h"

#include <cmath>
#include <complex>
#include <memory>
#include <string>
#include <vector>

#include "engine/map_airfoil_to_circle.h"
#include "gtest/gtest.h"
#include "test_sections.h"

namespace quilane {
namespace {

using test::kPi;

// The diamond's workspace with the K, A, KA the airfoil-to-circle mapping sets.
std::unique_ptr<AirfoilWorkspace> Mapped() {
  auto ws = test::WorkspaceOf(test::DiamondContour());
  EXPECT_EQ(MapAirfoilToCircle(*ws), 0);
  return ws;
}

void SetStations(AirfoilWorkspace& ws, const std::vector<std::pair<double, double>>& stations) {
  ws.NI = static_cast<int>(stations.size());
  for (int j = 1; j <= ws.NI; ++j) {
    ws.UI[j] = stations[j - 1].first;
    ws.VI[j] = stations[j - 1].second;
  }
}

struct StationCase {
  const char* name;
  double u;
  double r_over_A;
  double x, y;
  double tolerance;
};

TEST(MapCircleToAirfoil, SingleStations) {
  const double A = 30.0 / 121;
  const double lower_y = -A * (1.1 - 1 / 1.1);
  const StationCase cases[] = {
      {"trailing edge at angle 0", 0, 1, 1, 0, 1e-15},
      {"trailing edge at angle 2 Pi", 2 * kPi, 1, 1, 0, 1e-15},
      {"nose", kPi, 1.2, 0, 0, 1e-13},
      {"lower surface", kPi / 2, 1.1, 61.0 / 121, lower_y, 1e-13},
      {"upper surface", 3 * kPi / 2, 1.1, 61.0 / 121, -lower_y, 1e-13},
  };
  for (const StationCase& c : cases) {
    SCOPED_TRACE(c.name);
    const auto ws = Mapped();
    SetStations(*ws, {{c.u, c.r_over_A * ws->A}});
    ASSERT_EQ(MapCircleToAirfoil(*ws), 0);
    EXPECT_NEAR(ws->XI[1], c.x, c.tolerance);
    EXPECT_NEAR(ws->YI[1], c.y, c.tolerance);
  }
  EXPECT_NEAR(lower_y, -0.04733, 5e-6);
}

TEST(MapCircleToAirfoil, TrailingEdgeComesOutAsNegativeZero) {
  const auto ws = Mapped();
  SetStations(*ws, {{0, ws->A}});
  ASSERT_EQ(MapCircleToAirfoil(*ws), 0);
  EXPECT_EQ(ws->YI[1], 0);
  EXPECT_TRUE(std::signbit(ws->YI[1]));
}

TEST(MapCircleToAirfoil, RadiusAOnTheSlit) {
  // Every station on |zeta| = A lands on y = 0 between 1 - 2 KA and 1.
  const auto ws = Mapped();
  std::vector<std::pair<double, double>> stations;
  for (int k = 0; k < 40; ++k) stations.push_back({0.05 + k * 0.15, ws->A});
  SetStations(*ws, stations);
  ASSERT_EQ(MapCircleToAirfoil(*ws), 0);
  for (int j = 1; j <= ws->NI; ++j) {
    EXPECT_NEAR(ws->YI[j], 0, 1e-15) << j;
    EXPECT_GE(ws->XI[j], 1 - 2 * ws->KA - 1e-15) << j;
    EXPECT_LE(ws->XI[j], 1 + 1e-15) << j;
  }
}

TEST(MapCircleToAirfoil, AgreesWithJoukowskiTransform) {
  // z = zeta + A^2 / zeta for zeta = r e^(-i u), shifted back by 1 - KA.
  const auto ws = Mapped();
  std::vector<std::pair<double, double>> stations;
  for (int k = 0; k < 60; ++k) {
    const double u = -0.2 + k * (2 * kPi + 0.4) / 59;
    const double r = ws->A * (0.3 + 0.05 * (k % 31));  // inside and outside the circle
    stations.push_back({u, r});
  }
  SetStations(*ws, stations);
  ASSERT_EQ(MapCircleToAirfoil(*ws), 0);
  for (int j = 1; j <= ws->NI; ++j) {
    const std::complex<double> zeta = std::polar(ws->VI[j], -ws->UI[j]);
    const std::complex<double> z = zeta + ws->A * ws->A / zeta;
    const double scale = std::max(1.0, std::abs(z));
    EXPECT_NEAR(ws->XI[j], z.real() + (1 - ws->KA), 1e-12 * scale) << j;
    EXPECT_NEAR(ws->YI[j], z.imag(), 1e-12 * scale) << j;
  }
}

TEST(MapCircleToAirfoil, DiamondStationsGiveBackTheDiamond) {
  const auto ws = Mapped();
  for (int j = 1; j <= 5; ++j) {
    ws->UI[j] = ws->U[j];
    ws->VI[j] = ws->V[j];
  }
  ASSERT_EQ(MapCircleToAirfoil(*ws), 0);
  for (int j = 1; j <= 5; ++j) {
    EXPECT_NEAR(ws->XI[j], ws->X[j], 1e-13) << j;
    EXPECT_NEAR(ws->YI[j], ws->Y[j], 1e-13) << j;
  }
}

TEST(MapCircleToAirfoil, MappingThereAndBackReturnsTheContour) {
  struct Section {
    const char* name;
    double camber, camber_at, thickness;
    int half;
  };
  const Section sections[] = {
      {"symmetric 0012", 0, 0.4, 0.12, 50},
      {"cambered 2412", 0.02, 0.4, 0.12, 40},
      {"thick cambered 6421", 0.06, 0.4, 0.21, 75},
      {"thin 0006", 0, 0.4, 0.06, 30},
  };
  for (const Section& s : sections) {
    SCOPED_TRACE(s.name);
    const auto ws =
        test::WorkspaceOf(test::NacaContour(s.camber, s.camber_at, s.thickness, s.half));
    ASSERT_EQ(MapAirfoilToCircle(*ws), 0);
    ws->NI = ws->N;
    for (int j = 1; j <= ws->N; ++j) {
      ws->UI[j] = ws->U[j];
      ws->VI[j] = ws->V[j];
    }
    ASSERT_EQ(MapCircleToAirfoil(*ws), 0);
    for (int j = 1; j <= ws->N; ++j) {
      EXPECT_NEAR(ws->XI[j], ws->X[j], 1e-12) << j;
      EXPECT_NEAR(ws->YI[j], ws->Y[j], 1e-12) << j;
    }
  }
}

TEST(MapCircleToAirfoil, ChordInFileUnitsDoesNotMoveThePoints) {
  // The new points come out normalised, whatever the file's own chord.
  const auto ws = Mapped();
  ws->Chord = 100;
  for (int j = 1; j <= 5; ++j) {
    ws->UI[j] = ws->U[j];
    ws->VI[j] = ws->V[j];
  }
  ASSERT_EQ(MapCircleToAirfoil(*ws), 0);
  for (int j = 1; j <= 5; ++j) EXPECT_NEAR(ws->XI[j], ws->X[j], 1e-13) << j;
}

struct RefusalCase {
  const char* name;
  std::vector<std::pair<double, double>> stations;  // radius in units of A
  int expected;
};

TEST(MapCircleToAirfoil, RefusesStationsWithoutAnImage) {
  const RefusalCase cases[] = {
      {"zero radius", {{0, 1}, {1, 1.1}, {2, 0}, {3, 1.1}}, 3},
      {"negative radius first", {{0, -0.5}, {1, 1.1}}, 1},
      {"on the singular point -A", {{0, 1}, {kPi, 1}, {4, 1.1}}, 2},
      {"the first of two is reported", {{0, 1}, {1, 1.1}, {kPi, 1}, {2, 0}}, 3},
  };
  for (const RefusalCase& c : cases) {
    SCOPED_TRACE(c.name);
    const auto ws = Mapped();
    std::vector<std::pair<double, double>> stations;
    for (const auto& [u, r] : c.stations) stations.push_back({u, r * ws->A});
    SetStations(*ws, stations);
    for (int j = 1; j <= ws->NI; ++j) ws->XI[j] = ws->YI[j] = -7;
    EXPECT_EQ(MapCircleToAirfoil(*ws), c.expected);
    for (int j = 1; j < c.expected; ++j) EXPECT_NE(ws->XI[j], -7) << "written at " << j;
    for (int j = c.expected; j <= ws->NI; ++j) {
      EXPECT_EQ(ws->XI[j], -7) << "untouched at " << j;
      EXPECT_EQ(ws->YI[j], -7) << "untouched at " << j;
    }
  }
}

}  // namespace
}  // namespace quilane
