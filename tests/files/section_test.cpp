#include "files/section.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "file_test_support.h"

namespace quilane {
namespace {

const ContourOrigin kOrigin{"The airfoil file \"wing.arf\"", "lines 3 to 5", "wing.arf", 3};

// The nose is the last point where x decreases, Xmin its x; Xmax is the x
// of the last increase, which need not be the largest.
TEST(MakeSectionTest, FindsTheNoseAndTheChordFromNeighbourSteps) {
  std::vector<double> thousand_x;  // the largest contour: 500 down to 1, then up to 500
  for (int i = 1; i <= 1000; ++i) thousand_x.push_back(i <= 500 ? 501 - i : i - 500);
  const struct {
    const char* name;
    std::vector<double> x;
    int nose;
    double x_min;
    double chord;
    std::vector<double> normalised;
  } cases[] = {
      {"shifted_and_scaled", {110, 60, 10, 60, 110}, 3, 10, 100, {1, 0.5, 0, 0.5, 1}},
      {"equal_x_at_nose_first_is_nose", {1, 0.5, 0, 0, 0.5, 1}, 3, 0, 1, {1, 0.5, 0, 0, 0.5, 1}},
      {"last_decrease_and_last_increase_count", {4, 2, 3, 1, 2, 5}, 4, 1, 4,
       {0.75, 0.25, 0.5, 0, 0.25, 1}},
      {"trailing_edge_not_last_point", {3, 1, 5, 4}, 4, 4, 1, {-1, -3, 1, 0}},
      {"two_points", {1, 0}, 2, 0, 1, {1, 0}},
      {"the_largest_contour", thousand_x, 500, 1, 499, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<double> y(c.x.size(), 0.25);
    const Expected<Section> section = MakeSection("Wing", Contour{c.x, y}, kOrigin);
    ASSERT_TRUE(section) << section.error().message;
    EXPECT_EQ(section->title, "Wing");
    EXPECT_EQ(section->nose, c.nose);
    EXPECT_EQ(section->x_min, c.x_min);
    EXPECT_EQ(section->chord, c.chord);
    if (!c.normalised.empty()) {
      EXPECT_EQ(section->contour.x, c.normalised);
    }
    EXPECT_EQ(section->contour.x[c.nose - 1], 0.0);
    EXPECT_EQ(section->contour.y, y);
  }
}

// Every refusal names the origin's file and line, and the point too far out.
TEST(MakeSectionTest, RefusesWhatMakesNoContour) {
  const std::string too_far = " too far from the nose for a chord of ";
  const std::string gap = "has its first and last points (lines 3 to 5) too far apart to "
                          "measure the trailing-edge gap against a chord of ";
  const std::string gap_advice = "; correct those points or scale the coordinates.";
  const struct {
    const char* name;
    Contour contour;
    int index;
    std::string what;
  } cases[] = {
      {"lengths_differ", {{1, 0, 1}, {0, 0}}, 0,
       "holds 3 points (lines 3 to 5); a contour needs 2 to 1000 points."},
      {"one_point", {{1}, {0}}, 0,
       "holds 1 point (lines 3 to 5); a contour needs 2 to 1000 points."},
      {"above_capacity", {std::vector<double>(1001, 1.0), std::vector<double>(1001, 0.0)}, 0,
       "holds 1001 points (lines 3 to 5); a contour needs 2 to 1000 points."},
      {"all_x_equal", {{2, 2, 2}, {0, 1, 2}}, 0,
       "has the same x in every record (lines 3 to 5), so its chord is 0; choose a file that "
       "holds a contour."},
      {"x_never_decreases", {{0, 0.25, 0.5}, {0, 0, 0}}, 0,
       "has x values that never decrease (lines 3 to 5), so the contour has no nose; list the "
       "points from the trailing edge along one surface to the nose and back along the "
       "other."},
      {"x_too_far_apart", {{1e308, -1e308, 1e308}, {0, 0, 0}}, 0,
       "has x values too far apart to measure a chord (lines 3 to 5); scale the coordinates "
       "down."},
      {"a_point_far_beyond_the_chord", {{0, 1e308, -1e308, -5e307}, {0, 0, 0, 0}}, 2,
       "has point 2 (lines 3 to 5)" + too_far +
           "5E+307; correct that point or scale the coordinates."},
      {"chord_too_short_to_divide_by", {{1, 0, 4.9e-324}, {0, 0, 0}}, 1,
       "has point 1 (lines 3 to 5)" + too_far +
           "4.94065645841247E-324; correct that point or scale the coordinates."},
      {"gap_beyond_a_double_short_chord", {{10, 0.69, 1}, {3, 0, 1e308}}, 0,
       gap + "0.31" + gap_advice},
      {"gap_beyond_a_double_opposite_y", {{1, 0, 1}, {1e308, 0, -1e308}}, 0,
       gap + "1" + gap_advice},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Expected<Section> section = MakeSection("Wing", c.contour, kOrigin);
    ASSERT_FALSE(section);
    testing::ExpectFileRefusal(section.error(), "wing.arf",
                               {RefusalCode::kUnusableContour, 3, c.what});
    EXPECT_EQ(section.error().index, c.index);
  }
}

}  // namespace
}  // namespace quilane
