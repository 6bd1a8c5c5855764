#include "sections/naca_section.h"

#include <cmath>
#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "gtest/gtest.h"

namespace quilane {
namespace {

const double kPi = 4.0 * std::atan(1.0);

// ---------------------------------------------------------------------------
// Thickness

struct OrdinateCase {
  const char* name;
  double x;
  double percent;  // half thickness of the NACA 0012, % of chord, as tabulated
};

void PrintTo(const OrdinateCase& c, std::ostream* os) { *os << c.name; }

// The standard (blunt) NACA 0012 ordinates as published to three decimals.
const OrdinateCase kNaca0012Ordinates[] = {
    {"Station1p25", 0.0125, 1.894}, {"Station2p5", 0.025, 2.615},
    {"Station5", 0.05, 3.555},      {"Station10", 0.1, 4.683},
    {"Station20", 0.2, 5.737},      {"Station30", 0.3, 6.002},
    {"Station40", 0.4, 5.803},      {"Station50", 0.5, 5.294},
    {"Station60", 0.6, 4.563},      {"Station70", 0.7, 3.664},
    {"Station80", 0.8, 2.623},      {"Station90", 0.9, 1.448},
    {"Station95", 0.95, 0.807},     {"Station100", 1.0, 0.126},
};

class Naca0012OrdinateTest : public testing::TestWithParam<OrdinateCase> {};

TEST_P(Naca0012OrdinateTest, MatchesPublishedTable) {
  const OrdinateCase& c = GetParam();
  EXPECT_NEAR(100.0 * Naca4HalfThickness(0.12, c.x, TrailingEdge::kBlunt),
              c.percent, 0.001);  // the table's last digit
}

INSTANTIATE_TEST_SUITE_P(Published, Naca0012OrdinateTest,
                         testing::ValuesIn(kNaca0012Ordinates),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Naca4HalfThicknessTest, SharpEdgeClosesExactly) {
  EXPECT_EQ(Naca4HalfThickness(0.12, 1.0, TrailingEdge::kSharp), 0.0);
  EXPECT_GT(Naca4HalfThickness(0.12, 0.999, TrailingEdge::kSharp), 0.0);
}

TEST(Naca4HalfThicknessTest, BluntEdgeKeepsItsThickness) {
  EXPECT_NEAR(Naca4HalfThickness(0.15, 1.0, TrailingEdge::kBlunt),
              5.0 * 0.15 * 0.0021, 1e-15);
}

// Largest thickness t, near x = 0.3, for any thickness ratio and either edge.
class MaximumThicknessTest : public testing::TestWithParam<double> {};

TEST_P(MaximumThicknessTest, IsTheRatioNearThirtyPercent) {
  const double t = GetParam();
  for (TrailingEdge edge : {TrailingEdge::kSharp, TrailingEdge::kBlunt}) {
    double largest = 0.0;
    double at = -1.0;
    for (int k = 0; k <= 1000; ++k) {
      const double x = k / 1000.0;
      const double thickness = 2.0 * Naca4HalfThickness(t, x, edge);
      if (thickness > largest) {
        largest = thickness;
        at = x;
      }
    }
    EXPECT_NEAR(largest, t, 0.0005 * t);
    EXPECT_NEAR(at, 0.3, 0.01);
  }
}

INSTANTIATE_TEST_SUITE_P(Ratios, MaximumThicknessTest,
                         testing::Values(0.06, 0.12, 0.15, 0.21));

// ---------------------------------------------------------------------------
// Mean line

struct MeanLineCase {
  const char* name;
  double m, p, x;
  double y, slope;
};

void PrintTo(const MeanLineCase& c, std::ostream* os) { *os << c.name; }

const MeanLineCase kMeanLineCases[] = {
    {"Naca2412AtNose", 0.02, 0.4, 0.0, 0.0, 0.1},
    {"Naca2412AtMaximum", 0.02, 0.4, 0.4, 0.02, 0.0},
    {"Naca2412AtTrailingEdge", 0.02, 0.4, 1.0, 0.0, -2.0 * 0.02 * 0.6 / 0.36},
    {"Naca4412Forward", 0.04, 0.4, 0.2, 0.03, 0.1},
    {"Naca4412Aft", 0.04, 0.4, 0.7, 0.03, -0.08 * 0.3 / 0.36},
    {"Naca6409Aft", 0.06, 0.4, 0.9, 0.06 * 0.1 * 1.1 / 0.36, -0.12 * 0.5 / 0.36},
    {"SymmetricWithoutPosition", 0.0, 0.0, 0.5, 0.0, 0.0},
    {"SymmetricWithPosition", 0.0, 0.4, 0.2, 0.0, 0.0},
};

class Naca4MeanLineTest : public testing::TestWithParam<MeanLineCase> {};

TEST_P(Naca4MeanLineTest, HeightAndSlope) {
  const MeanLineCase& c = GetParam();
  const MeanLinePoint point = Naca4MeanLine(c.m, c.p, c.x);
  EXPECT_NEAR(point.y, c.y, 1e-15);
  EXPECT_NEAR(point.slope, c.slope, 1e-15);
}

INSTANTIATE_TEST_SUITE_P(Cases, Naca4MeanLineTest, testing::ValuesIn(kMeanLineCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Naca4MeanLineTest, EndsAreExactlyOnTheChord) {
  for (double p : {0.1, 0.4, 0.9}) {
    EXPECT_EQ(Naca4MeanLine(0.06, p, 0.0).y, 0.0) << p;
    EXPECT_EQ(Naca4MeanLine(0.06, p, 1.0).y, 0.0) << p;
  }
}

TEST(Naca4MeanLineTest, Naca2412PeaksAtFortyPercent) {
  double largest = 0.0;
  double at = -1.0;
  for (int k = 0; k <= 1000; ++k) {
    const double x = k / 1000.0;
    const double y = Naca4MeanLine(0.02, 0.4, x).y;
    if (y > largest) {
      largest = y;
      at = x;
    }
  }
  EXPECT_DOUBLE_EQ(largest, 0.02);
  EXPECT_DOUBLE_EQ(at, 0.4);
}

TEST(Naca4MeanLineTest, ForwardAndAftPiecesMeetSmoothly) {
  for (double p : {0.2, 0.4, 0.7}) {
    const MeanLinePoint before = Naca4MeanLine(0.04, p, p - 1e-9);
    const MeanLinePoint at = Naca4MeanLine(0.04, p, p);
    EXPECT_NEAR(before.y, at.y, 1e-12) << p;
    EXPECT_NEAR(before.slope, at.slope, 1e-7) << p;
  }
}

// ---------------------------------------------------------------------------
// Sections

struct SectionCase {
  const char* name;
  const char* digits;
  int count;
  TrailingEdge edge;
  const char* section_name;
};

void PrintTo(const SectionCase& c, std::ostream* os) { *os << c.name; }

const SectionCase kSectionCases[] = {
    {"Naca0012Odd", "0012", 61, TrailingEdge::kSharp, "NACA 0012"},
    {"Naca0012Even", "0012", 60, TrailingEdge::kSharp, "NACA 0012"},
    {"Naca2412", "2412", 81, TrailingEdge::kSharp, "NACA 2412"},
    {"Naca4412", "4412", 101, TrailingEdge::kSharp, "NACA 4412"},
    {"Naca0015Blunt", "0015", 61, TrailingEdge::kBlunt,
     "NACA 0015 blunt trailing edge"},
    {"Naca6409BluntEven", "6409", 40, TrailingEdge::kBlunt,
     "NACA 6409 blunt trailing edge"},
    {"Naca2412ThreePoints", "2412", 3, TrailingEdge::kSharp, "NACA 2412"},
    {"Naca0412IsSymmetric", "0412", 31, TrailingEdge::kSharp, "NACA 0412"},
    {"Naca2412NoseAheadOfStation0", "2412", 181, TrailingEdge::kSharp, "NACA 2412"},
    {"Naca4424ThickBlunt", "4424", 201, TrailingEdge::kBlunt, "NACA 4424 blunt trailing edge"},
};

double Ratio(const char* digits, int first, int length) {
  return std::stoi(std::string(digits + first, length));
}

class Naca4SectionTest : public testing::TestWithParam<SectionCase> {
 protected:
  void SetUp() override {
    const SectionCase& c = GetParam();
    Expected<AirfoilSection> made = Naca4Section(c.digits, c.count, c.edge);
    ASSERT_TRUE(made) << made.error().message;
    section_ = std::move(made).value();
    m_ = Ratio(c.digits, 0, 1) / 100.0;
    p_ = Ratio(c.digits, 1, 1) / 10.0;
    t_ = Ratio(c.digits, 2, 2) / 100.0;
  }
  const AirfoilSection& section() const { return section_; }
  int count() const { return GetParam().count; }

  AirfoilSection section_;
  double m_ = 0.0, p_ = 0.0, t_ = 0.0;
};

TEST_P(Naca4SectionTest, HasTheExactCountAndName) {
  EXPECT_EQ(section().x.size(), static_cast<std::size_t>(count()));
  EXPECT_EQ(section().y.size(), static_cast<std::size_t>(count()));
  EXPECT_EQ(section().name, GetParam().section_name);
}

// x falls from the trailing edge to one smallest value, then rises again; only
// the two middle points of an even symmetric section share their x.
TEST_P(Naca4SectionTest, XFallsThenRises) {
  const auto& x = section().x;
  std::size_t i = 1;
  while (i < x.size() && x[i] < x[i - 1]) ++i;
  ASSERT_LT(i, x.size());
  if (x[i] == x[i - 1]) {
    EXPECT_TRUE(count() % 2 == 0 && m_ == 0.0 && 2 * i == x.size()) << "point " << i + 1;
    ++i;
  }
  for (; i < x.size(); ++i) EXPECT_GT(x[i], x[i - 1]) << "point " << i + 1;
}

// Point i and point N + 1 - i share a cosine-spaced station x_s: their midpoint
// is the mean-line point there and they lie y_t from it, across the mean line.
TEST_P(Naca4SectionTest, PairsStraddleTheMeanLinePerpendicularly) {
  const auto& x = section().x;
  const auto& y = section().y;
  const int n = count();
  for (int i = 1; 2 * i < n + 1; ++i) {
    const int lower = i - 1;
    const int upper = n - i;
    const double station = (std::cos(2.0 * kPi * (i - 1) / (n - 1)) + 1.0) * 0.5;
    const MeanLinePoint mean = Naca4MeanLine(m_, p_, station);
    const double half = Naca4HalfThickness(t_, station, GetParam().edge);
    EXPECT_NEAR((x[lower] + x[upper]) / 2.0, station, 1e-14) << "point " << i;
    EXPECT_NEAR((y[lower] + y[upper]) / 2.0, mean.y, 1e-14) << "point " << i;
    EXPECT_NEAR(std::hypot(x[upper] - x[lower], y[upper] - y[lower]) / 2.0, half,
                1e-14)
        << "point " << i;
    // Across the mean line: the chord between the pair is normal to its slope.
    EXPECT_NEAR((x[upper] - x[lower]) + mean.slope * (y[upper] - y[lower]), 0.0, 1e-14)
        << "point " << i;
    if (half > 0.0) {
      EXPECT_LT(y[lower], mean.y) << "point " << i;
    }
  }
}

TEST_P(Naca4SectionTest, OddCountsHaveTheNoseOnceAtTheMiddle) {
  const auto& x = section().x;
  const auto& y = section().y;
  const int n = count();
  if (n % 2 == 1) {
    EXPECT_EQ(x[(n - 1) / 2], 0.0);
    EXPECT_EQ(y[(n - 1) / 2], 0.0);
  } else {
    for (int i = 0; i < n; ++i) EXPECT_FALSE(x[i] == 0.0 && y[i] == 0.0) << i + 1;
  }
}

TEST_P(Naca4SectionTest, TrailingEdgeClosesOnlyWhenSharp) {
  const auto& x = section().x;
  const auto& y = section().y;
  const int n = count();
  if (GetParam().edge == TrailingEdge::kSharp) {
    EXPECT_EQ(x[0], 1.0);
    EXPECT_EQ(y[0], 0.0);
    EXPECT_EQ(x[n - 1], 1.0);
    EXPECT_EQ(y[n - 1], 0.0);
  } else {
    const double gap = std::hypot(x[n - 1] - x[0], y[n - 1] - y[0]);
    EXPECT_NEAR(gap, 2.0 * 5.0 * t_ * 0.0021, 1e-15);
    EXPECT_LT(y[0], y[n - 1]);
  }
}

INSTANTIATE_TEST_SUITE_P(Sections, Naca4SectionTest, testing::ValuesIn(kSectionCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Sections without camber: the upper surface is the lower one mirrored, and
// every lower point but a closed trailing edge lies below the chord.
class SymmetricSectionTest : public Naca4SectionTest {};

const SectionCase kSymmetricCases[] = {
    {"Naca0012Odd", "0012", 61, TrailingEdge::kSharp, "NACA 0012"},
    {"Naca0012Even", "0012", 60, TrailingEdge::kSharp, "NACA 0012"},
    {"Naca0015Blunt", "0015", 61, TrailingEdge::kBlunt,
     "NACA 0015 blunt trailing edge"},
    {"Naca0009BluntEven", "0009", 20, TrailingEdge::kBlunt,
     "NACA 0009 blunt trailing edge"},
    {"Naca0412", "0412", 31, TrailingEdge::kSharp, "NACA 0412"},
};

TEST_P(SymmetricSectionTest, MirrorsAboutTheChordWithTheLowerSurfaceFirst) {
  const auto& x = section().x;
  const auto& y = section().y;
  const int n = count();
  for (int i = 0; 2 * i < n - 1; ++i) {
    EXPECT_EQ(x[i], x[n - 1 - i]) << "point " << i + 1;
    EXPECT_EQ(y[i], -y[n - 1 - i]) << "point " << i + 1;
    const bool closed_end = i == 0 && GetParam().edge == TrailingEdge::kSharp;
    if (!closed_end) {
      EXPECT_LT(y[i], 0.0) << "point " << i + 1;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Sections, SymmetricSectionTest,
                         testing::ValuesIn(kSymmetricCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Refusals

// Every refusal of the generators, a sentence naming the designation.
TEST(NacaSectionRefusalTest, RefusesWhatNoPublishedEquationMakes) {
  using Generator = Expected<AirfoilSection> (*)(std::string_view, int, TrailingEdge);
  const std::string four_digits = "A 4-digit section needs exactly four digits, not ";
  const std::string five_digits = "A 5-digit section needs exactly five digits, not ";
  const std::string no_line = " (standard lines are 210 to 250, reflexed ones 221 to 251).";
  const std::string not_naca = "\" is not a NACA 4- or 5-digit designation (such as 2412 or "
                               "23012).";
  const std::string too_few_points = "A section needs at least 3 points.";
  const std::string too_thick =
      ", as its thickness and camber are too large for the formula; "
      "choose a thinner section or less camber.";
  const struct {
    const char* name;
    Generator generator;
    const char* designation;
    int count;
    std::string message;
  } cases[] = {
      {"four_too_few_digits", Naca4Section, "012", 61, four_digits + "\"012\"."},
      {"four_too_many_digits", Naca4Section, "00120", 61, four_digits + "\"00120\"."},
      {"four_not_a_digit", Naca4Section, "00a2", 61, four_digits + "\"00a2\"."},
      {"four_blank", Naca4Section, "0 12", 61, four_digits + "\"0 12\"."},
      {"four_zero_thickness", Naca4Section, "2400", 61, "NACA 2400 has no thickness."},
      {"four_camber_without_position", Naca4Section, "2012", 61,
       "NACA 2012 has camber but no camber position."},
      {"four_two_points", Naca4Section, "0012", 2, too_few_points},
      {"four_lower_surface_folds", Naca4Section, "9999", 201,
       "NACA 9999 gives no proper section with 201 points: its lower surface turns back towards "
       "the trailing edge between points 19 and 20 (x rises from 0.889 to 0.89)" +
           too_thick},
      {"five_four_digits", Naca5Section, "2301", 101, five_digits + "\"2301\"."},
      {"five_not_digits", Naca5Section, "23o12", 101, five_digits + "\"23o12\"."},
      {"five_no_design_lift", Naca5Section, "03012", 101,
       "NACA 03012 has no design lift (its first digit is 0)."},
      {"five_position_zero", Naca5Section, "20012", 101,
       "NACA 20012 has no published mean line 200" + no_line},
      {"five_position_six", Naca5Section, "26012", 101,
       "NACA 26012 has no published mean line 260" + no_line},
      {"five_reflexed_211", Naca5Section, "21112", 101,
       "NACA 21112 has no published mean line 211" + no_line},
      {"five_reflex_digit_two", Naca5Section, "23212", 101,
       "NACA 23212 has no published mean line 232" + no_line},
      {"five_no_thickness", Naca5Section, "23000", 101, "NACA 23000 has no thickness."},
      {"five_two_points", Naca5Section, "23012", 2, too_few_points},
      {"five_lower_surface_folds", Naca5Section, "91015", 1000,
       "NACA 91015 gives no proper section with 1000 points: its lower surface turns back "
       "towards the trailing edge between points 436 and 437 (x rises from 0.04831 to 0.04833)" +
           too_thick},
      {"designation_empty", NacaSection, "", 61, "\"" + not_naca},
      {"designation_naca_alone", NacaSection, "NACA", 61, "\"NACA" + not_naca},
      {"designation_three_digits", NacaSection, "123", 61, "\"123" + not_naca},
      {"designation_six_digits", NacaSection, "230123", 61, "\"230123" + not_naca},
      {"designation_six_series", NacaSection, "NACA 64-212", 61, "\"NACA 64-212" + not_naca},
      {"designation_letter_after", NacaSection, "23012x", 61, "\"23012x" + not_naca},
      // A designation of the right length keeps its family's own refusal.
      {"designation_of_a_refused_family", NacaSection, "naca 21112", 61,
       "NACA 21112 has no published mean line 211" + no_line},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Expected<AirfoilSection> made =
        c.generator(c.designation, c.count, TrailingEdge::kSharp);
    ASSERT_FALSE(made);
    EXPECT_EQ(static_cast<int>(made.error().code),
              static_cast<int>(RefusalCode::kUnknownSection));
    EXPECT_EQ(made.error().message, c.message);
  }
}

}  // namespace
}  // namespace quilane
