#include "engine/chord_frame.h"

#include <cmath>
#include <memory>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "engine/map_airfoil_to_circle.h"
#include "engine/map_circle_to_airfoil.h"
#include "engine/run_steps.h"
#include "sections/naca_section.h"
#include "test_sections.h"

namespace quilane {
namespace {

// A similarity: turn by `angle` about the origin, scale by `scale`, then shift.
struct Similarity {
  const char* name;
  double angle;
  double scale;
  double dx;
  double dy;

  void Apply(double& x, double& y) const {
    const double c = std::cos(angle) * scale;
    const double s = std::sin(angle) * scale;
    const double nx = c * x - s * y + dx;
    const double ny = s * x + c * y + dy;
    x = nx;
    y = ny;
  }
};

// The mapping route's steps on the workspace, as the run makes them.
std::optional<Refusal> MapWithSpline(AirfoilWorkspace& ws, int ni, bool lagrange) {
  ws.NI = ni;
  ChordFrame frame;
  std::optional<Refusal> refusal = LayOutCurve(ws, true, frame);
  if (!refusal) refusal = InterpolateCurve(ws, lagrange, 3);
  if (!refusal) refusal = CompleteNewPoints(ws, true, frame, false);
  return refusal;
}

TEST(ChordFrame, TakesTheNoseToTheOriginAndTheTrailingEdgeToOne) {
  struct Case {
    const char* name;
    double x1, y1, xn, yn, xile, yile;
  };
  const Case cases[] = {
      {"tilted down", 1.0, -0.07, 1.0, -0.06, 0.0, 0.0},
      {"nose above the axis", 1.0, -0.001, 1.0, 0.001, 0.002, 0.03},
      {"shifted and scaled", 3.0, 1.0, 3.2, 1.2, -1.0, -0.5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PointArray X{}, Y{};
    X[1] = c.x1, Y[1] = c.y1, X[2] = c.xile, Y[2] = c.yile, X[3] = c.xn, Y[3] = c.yn;
    const ChordFrame frame = ChordFrameOf(3, X, Y, 2);
    ASSERT_FALSE(frame.identity);
    ASSERT_TRUE(IsUsable(frame));
    PointArray FX{}, FY{};
    ToChordFrame(frame, 3, X, Y, FX, FY);
    EXPECT_NEAR(FX[2], 0.0, 1e-15);
    EXPECT_NEAR(FY[2], 0.0, 1e-15);
    EXPECT_NEAR((FX[1] + FX[3]) / 2, 1.0, 1e-15);
    EXPECT_NEAR((FY[1] + FY[3]) / 2, 0.0, 1e-15);
    FromChordFrame(frame, 3, FX, FY);
    for (int i = 1; i <= 3; ++i) {
      EXPECT_NEAR(FX[i], X[i], 1e-14) << i;
      EXPECT_NEAR(FY[i], Y[i], 1e-14) << i;
    }
  }
}

TEST(ChordFrame, AnAlignedContourIsLeftAsItStands) {
  const auto ws = test::WorkspaceOf(test::NacaContour(0.0, 0.4, 0.12, 30));
  const ChordFrame frame = ChordFrameOf(ws->N, ws->X, ws->Y, ws->ILE);
  EXPECT_TRUE(frame.identity);
  EXPECT_TRUE(IsUsable(frame));
}

TEST(ChordFrame, ANoseOnTheTrailingEdgeHasNoFrame) {
  PointArray X{}, Y{};
  X[1] = 1, Y[1] = 0.1, X[2] = 1, Y[2] = 0, X[3] = 1, Y[3] = -0.1;
  EXPECT_FALSE(IsUsable(ChordFrameOf(3, X, Y, 2)));
}

// NACA 4412 of 81 points, its trailing edge closed (sharp) or as the
// open-edge formula leaves it, open by 0.25 % of the chord (blunt).
std::unique_ptr<AirfoilWorkspace> Naca4412(bool sharp) {
  if (sharp) return test::WorkspaceOf(test::NacaContour(0.04, 0.4, 0.12, 40));
  const AirfoilSection blunt = Naca4Section("4412", 81, TrailingEdge::kBlunt).value();
  return test::WorkspaceOf(Contour{blunt.x, blunt.y});
}

// The new points of a turned, scaled and shifted copy of a section are the
// copy of the section's new points, on both interpolations. At a sharp
// trailing edge they agree to 1e-12 of the copy's size. At a blunt one the
// mapping's angle of each corner point comes from atan(2 KA y / (r0^2 - KA^2))
// with r0^2 - KA^2 nearly y^2: the last bit of the corner's x in the chord
// frame moves that angle, and with it every station, by about 1e-10, so the
// copies agree to 1e-9 there (the input in both cases differs only by the
// rounding of the turn).
TEST(ChordFrame, NewPointsOfACopyAreTheCopyOfTheNewPoints) {
  const Similarity copies[] = {
      {"turned down 4 degrees", -0.07, 1.0, 0.0, 0.0},
      {"turned up and shifted", 0.05, 1.0, 0.3, -0.2},
      {"scaled and shifted", 0.0, 2.5, -1.0, 0.4},
      {"all at once", 0.6, 0.3, 5.0, 7.0},
  };
  for (const bool sharp : {true, false}) {
    for (const bool lagrange : {true, false}) {
      auto original = Naca4412(sharp);
      ASSERT_FALSE(MapWithSpline(*original, 101, lagrange).has_value());
      for (const Similarity& copy : copies) {
        SCOPED_TRACE(std::string(copy.name) + (lagrange ? ", Lagrange 3" : ", PW cubic") +
                     (sharp ? ", sharp" : ", blunt"));
        auto moved = Naca4412(sharp);
        for (int i = 1; i <= moved->N; ++i) copy.Apply(moved->X[i], moved->Y[i]);
        const PointArray input_x = moved->X;
        const PointArray input_y = moved->Y;
        ASSERT_FALSE(MapWithSpline(*moved, 101, lagrange).has_value());
        const double tolerance = (sharp ? 1e-12 : 1e-9) * std::max(1.0, copy.scale);
        for (int j = 1; j <= 101; ++j) {
          double x = original->XI[j];
          double y = original->YI[j];
          copy.Apply(x, y);
          EXPECT_NEAR(moved->XI[j], x, tolerance + 1e-15 * std::abs(x)) << "new point " << j;
          EXPECT_NEAR(moved->YI[j], y, tolerance + 1e-15 * std::abs(y)) << "new point " << j;
        }
        EXPECT_TRUE(moved->X == input_x && moved->Y == input_y) << "the input points changed";
      }
    }
  }
}

// A section whose nose is at (0, 0) and whose trailing edge lies on (1, 0) is
// mapped exactly as by the mapping's steps alone.
TEST(ChordFrame, TheAlignedSectionGivesTheNumbersOfTheStepsAlone) {
  auto run = test::WorkspaceOf(test::NacaContour(0.04, 0.4, 0.12, 40));
  ASSERT_FALSE(MapWithSpline(*run, 75, true).has_value());

  auto steps = test::WorkspaceOf(test::NacaContour(0.04, 0.4, 0.12, 40));
  steps->NI = 75;
  ASSERT_EQ(MapAirfoilToCircle(*steps), 0);
  ASSERT_FALSE(InterpolateCurve(*steps, true, 3).has_value());
  ASSERT_EQ(MapCircleToAirfoil(*steps), 0);
  for (int j = 1; j <= 75; ++j) {
    EXPECT_EQ(run->XI[j], steps->XI[j]) << j;
    EXPECT_EQ(run->YI[j], steps->YI[j]) << j;
  }
}

// A trailing edge off the x axis no longer throws the new points off the
// contour: with the chord line tilted by 4 degrees they stay within a
// thousandth of the chord of the true section.
TEST(ChordFrame, ATiltedSectionStaysOnItsContour) {
  auto ws = test::WorkspaceOf(test::NacaContour(0.0, 0.4, 0.12, 60));
  const Similarity tilt{"tilt", -0.07, 1.0, 0.0, 0.0};
  for (int i = 1; i <= ws->N; ++i) tilt.Apply(ws->X[i], ws->Y[i]);
  ASSERT_FALSE(MapWithSpline(*ws, 101, false).has_value());
  for (int j = 1; j <= 101; ++j) {
    // Back into the section's own axes, where |y| is the NACA thickness.
    double x = ws->XI[j];
    double y = ws->YI[j];
    const Similarity back{"back", 0.07, 1.0, 0.0, 0.0};
    back.Apply(x, y);
    const double half = Naca4HalfThickness(0.12, std::max(x, 0.0), TrailingEdge::kSharp);
    EXPECT_NEAR(std::abs(y), half, 1e-3) << "new point " << j << " at x " << x;
  }
}

}  // namespace
}  // namespace quilane
