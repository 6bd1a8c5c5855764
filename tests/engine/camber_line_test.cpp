#include "engine/camber_line.h"

#include <cmath>
#include <utility>
#include <vector>

#include "engine/distribute_along_x.h"
#include "engine/lagrange_interpolation.h"
#include "engine/pw_cubic_interpolation.h"
#include "gtest/gtest.h"
#include "test_sections.h"

namespace quilane {
namespace {

TEST(ComputeCamber, FivePointContour) {
  AirfoilWorkspace ws;
  ws.NI = 5;
  const double x[] = {1, 0.5, 0, 0.5, 1};
  const double y[] = {0, 0.05, 0, -0.05, 0};
  for (int i = 1; i <= 5; ++i) {
    ws.XI[i] = x[i - 1];
    ws.YI[i] = y[i - 1];
  }
  ComputeCamber(ws);
  EXPECT_TRUE(ws.NCamber.IsSet());
  EXPECT_EQ(ws.NCamber, 3.0);
  const double cx[] = {0, 0.5, 1};
  for (int i = 1; i <= 3; ++i) {
    EXPECT_EQ(ws.XCamber[i], cx[i - 1]) << i;
    EXPECT_EQ(ws.YCamber[i], 0) << i;
  }
}

struct PairingCase {
  const char* name;
  int NI;
  double NCamber;
  std::vector<std::pair<int, int>> pairs;
};

TEST(ComputeCamber, PairsOfNewPoints) {
  const PairingCase cases[] = {
      {"one point", 1, 1, {{1, 1}}},
      {"two points", 2, 1.5, {{2, 2}}},
      {"four points", 4, 2.5, {{2, 2}, {2, 4}}},
      {"five points", 5, 3, {{3, 3}, {2, 4}, {1, 5}}},
      {"six points", 6, 3.5, {{4, 4}, {2, 4}, {2, 6}}},
      {"seven points", 7, 4, {{4, 4}, {3, 5}, {2, 6}, {1, 7}}},
      {"ten points", 10, 5.5, {{6, 6}, {4, 6}, {4, 8}, {2, 8}, {2, 10}}},
  };
  for (const PairingCase& c : cases) {
    SCOPED_TRACE(c.name);
    AirfoilWorkspace ws;
    ws.NI = c.NI;
    // Values that tell every pair apart.
    for (int i = 1; i <= c.NI; ++i) {
      ws.XI[i] = i * i * i;
      ws.YI[i] = -std::sqrt(static_cast<double>(i));
    }
    const int count = static_cast<int>(c.pairs.size());
    ws.XCamber[count + 1] = 77;  // beyond the camber line: must stay
    ComputeCamber(ws);
    EXPECT_EQ(ws.NCamber, c.NCamber);
    for (int i = 1; i <= count; ++i) {
      const auto [a, b] = c.pairs[i - 1];
      EXPECT_EQ(ws.XCamber[i], (ws.XI[a] + ws.XI[b]) / 2) << i;
      EXPECT_EQ(ws.YCamber[i], (ws.YI[a] + ws.YI[b]) / 2) << i;
    }
    EXPECT_EQ(ws.XCamber[count + 1], 77);
  }
}

TEST(ComputeCamber, LargestCountWritesFiveHundredPoints) {
  AirfoilWorkspace ws;
  ws.NI = kPointCapacity;
  for (int i = 1; i <= kPointCapacity; ++i) ws.XI[i] = i;
  ws.XCamber[501] = 77;
  ComputeCamber(ws);
  EXPECT_EQ(ws.NCamber, 500.5);
  EXPECT_EQ(ws.XCamber[500], (2.0 + 1000) / 2);
  EXPECT_EQ(ws.XCamber[501], 77);
}

TEST(ComputeCamber, SymmetricSectionAlongTheChordHasNoCamber) {
  for (bool spline : {false, true}) {
    SCOPED_TRACE(spline ? "piecewise cubic" : "Lagrange degree 3");
    const auto ws = test::WorkspaceOf(test::NacaContour(0, 0.4, 0.12, 40), 51);
    DistributeAlongX(*ws);
    if (spline) {
      ASSERT_EQ(PwCubicInterpolate(*ws), 0);
    } else {
      ASSERT_EQ(LagrangeInterpolate(ws->N, ws->U, ws->V, ws->NI, ws->UI, ws->VI, 3), 0);
    }
    for (int i = 1; i <= ws->NI; ++i) ws->YI[i] = ws->VI[i];
    ComputeCamber(*ws);
    ASSERT_EQ(ws->NCamber, 26.0);
    for (int i = 1; i <= 26; ++i) {
      EXPECT_NEAR(ws->YCamber[i], 0, 1e-12) << i;
      EXPECT_NEAR(ws->XCamber[i], ws->XI[27 - i], 1e-14) << i;
    }
    EXPECT_NEAR(ws->XCamber[1], 0, 1e-15);
    EXPECT_NEAR(ws->XCamber[26], 1, 1e-15);
  }
}

}  // namespace
}  // namespace quilane
