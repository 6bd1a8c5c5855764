#include "files/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "file_test_support.h"

namespace quilane {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

struct ValueCase {
  const char* name;
  std::string text;
  double value;
};

TEST(ValueOfStringTest, ReadsTheNumberAtTheStart) {
  const ValueCase cases[] = {
      {"plain", "51", 51},
      {"blanks_inside", " 5 1 ", 51},
      {"tab_and_line_feed_inside", "\t1\n0", 10},
      {"stops_at_letter", "-3.5x", -3.5},
      {"leading_point", ".5", 0.5},
      {"trailing_point", "5.", 5},
      {"comma_is_not_a_separator", "1,5", 1},
      {"plus_sign", "+7", 7},
      {"exponent", "1e3", 1000},
      {"capital_exponent_negative", "1E-2", 0.01},
      {"exponent_with_blanks", "1 e 3", 1000},
      {"second_point_stops", "1.2.3", 1.2},
      {"exponent_without_digits", "1e", 1},
      {"exponent_sign_without_digits", "7e+", 7},
      {"exponent_then_letter", "2e2x", 200},
      {"tenth_exactly", "0.1", 0.1},
      {"huge", "1e400", kInf},
      {"huge_negative", "-1e400", -kInf},
      {"huge_by_digits", "0.00001e313", 1e308},
      {"tiny_underflows", "1e-400", 0.0},
      {"tiny_by_digits_underflows", "0.0001e-330", 0.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ValueOfString(c.text), c.value);
  }
}

TEST(ValueOfStringTest, TextWithoutANumberAtTheStartGivesZero) {
  const ValueCase cases[] = {
      {"letters", "abc", 0},        {"empty", "", 0},           {"blanks_only", "  \t\n", 0},
      {"double_minus", "--1", 0},   {"sign_then_sign", "+-1", 0}, {"sign_only", "-", 0},
      {"point_only", ".", 0},       {"exponent_only", "e5", 0},   {"hex_prefix", "x10", 0},
      {"carriage_return_first", "\r5", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const double value = ValueOfString(c.text);
    EXPECT_EQ(value, 0.0);
    EXPECT_FALSE(std::signbit(value));
  }
}

TEST(ValueOfStringTest, ReadsBackEveryShortestForm) {
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
  std::uniform_int_distribution<int> exponent(-30, 30);
  for (int i = 0; i < 2000; ++i) {
    const double value = std::ldexp(mantissa(random), exponent(random));
    const std::string text = FormatShortest(value);
    ASSERT_EQ(ValueOfString(text), value) << text;
  }
}

struct FieldCase {
  const char* name;
  std::string field;
  double value;
};

TEST(ParseNumberFieldTest, AcceptsDecimalNumbers) {
  const FieldCase cases[] = {
      {"whole", "1", 1},          {"plus", "+0.5", 0.5},     {"exponent", "-3e2", -300},
      {"leading_point", ".5", 0.5}, {"trailing_point", "5.", 5}, {"capital_e", "1E-2", 0.01},
      {"no_leading_zero", "-.003160", -0.003160},
      {"subnormal", "1e-310", 1e-310},
      {"underflow_reads_zero", "1e-400", 0.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const FieldNumber number = ParseNumberField(c.field);
    EXPECT_EQ(number.kind, FieldNumber::Kind::kNumber);
    EXPECT_EQ(number.value, c.value);
  }
}

TEST(ParseNumberFieldTest, RefusesAnythingElse) {
  struct Refused {
    const char* name;
    std::string field;
    FieldNumber::Kind kind;
  };
  using Kind = FieldNumber::Kind;
  const Refused cases[] = {
      {"empty", "", Kind::kNotNumber},
      {"letters", "abc", Kind::kNotNumber},
      {"exponent_without_digits", "1e", Kind::kNotNumber},
      {"two_points", "1.2.3", Kind::kNotNumber},
      {"two_signs", "--1", Kind::kNotNumber},
      {"hexadecimal", "0x10", Kind::kNotNumber},
      {"comma_decimal", "1,5", Kind::kNotNumber},
      {"leading_blank", " 1", Kind::kNotNumber},
      {"trailing_letter", "1.5d", Kind::kNotNumber},
      {"fortran_exponent", "1.0D-3", Kind::kNotNumber},
      {"power_notation", "10^12", Kind::kNotNumber},
      {"huge", "1e400", Kind::kNotFinite},
      {"huge_negative", "-1e400", Kind::kNotFinite},
      {"nan", "nan", Kind::kNotFinite},
      {"minus_inf", "-inf", Kind::kNotFinite},
      {"infinity_capitals", "Infinity", Kind::kNotFinite},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ParseNumberField(c.field).kind, c.kind);
  }
}

struct FormatCase {
  const char* name;
  double value;
  std::string text;
};

TEST(FormatFixed5Test, WritesFiveDecimals) {
  const FormatCase cases[] = {
      {"half", 0.5, "0.50000"},
      {"negative", -0.04733, "-0.04733"},
      {"whole", 12.0, "12.00000"},
      {"thousands_keep_all_digits", 1234.5, "1234.50000"},
      {"zero", 0.0, "0.00000"},
      {"negative_zero", -0.0, "0.00000"},
      {"negative_rounding_to_zero", -0.000004, "0.00000"},
      {"negative_rounding_away_from_zero", -0.000006, "-0.00001"},
      {"negative_below_one", -0.5, "-0.50000"},
      {"rounds_up", 0.123456, "0.12346"},
      {"rounds_into_integer", 0.999996, "1.00000"},
      {"million", 1e6, "1000000.00000"},
      {"exact_tie_to_even_down", 0.015625, "0.01562"},
      {"exact_tie_to_even_up", 0.046875, "0.04688"},
      {"nearly_a_tie_is_no_tie", 0.000015, "0.00002"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FormatFixed5(c.value), c.text);
  }
}

TEST(FormatFixed5Test, ReadsBackWithinHalfTheLastPlace) {
  std::mt19937_64 random(11);
  std::uniform_real_distribution<double> value(-2000.0, 2000.0);
  for (int i = 0; i < 2000; ++i) {
    const double v = value(random);
    const std::string text = FormatFixed5(v);
    ASSERT_EQ(text.size() - text.find('.'), 6u) << text;
    ASSERT_LE(std::fabs(ValueOfString(text) - v), 0.5e-5 + 1e-12) << text;
  }
}

TEST(FormatWholeTest, WritesPlainDigits) {
  EXPECT_EQ(FormatWhole(1), "1");
  EXPECT_EQ(FormatWhole(12), "12");
  EXPECT_EQ(FormatWhole(1000), "1000");
  EXPECT_EQ(FormatWhole(0), "0");
  EXPECT_EQ(FormatWhole(-5), "-5");
}

TEST(FormatShortestTest, WritesThePlainShortestDecimal) {
  const FormatCase cases[] = {
      {"count", 51, "51"},
      {"half_count", 25.5, "25.5"},
      {"tenth", 0.1, "0.1"},
      {"zoom", 1.6, "1.6"},
      {"zoom_largest", 21, "21"},
      {"negative_zero", -0.0, "0"},
      {"small_without_exponent", 1e-7, "0.0000001"},
      {"large_without_exponent", 1e20, "100000000000000000000"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FormatShortest(c.value), c.text);
  }
}

TEST(FormatMessageNumberTest, WritesUpToFifteenSignificantDigits) {
  const FormatCase cases[] = {
      {"half", 0.5, "0.5"},
      {"one", 1, "1"},
      {"negative_quarter", -0.25, "-0.25"},
      {"fifteen_digits", 0.09549150281252627, "0.0954915028125263"},
      {"count", 61, "61"},
      {"third", 1.0 / 3.0, "0.333333333333333"},
      {"two_thirds_rounded", 2.0 / 3.0, "0.666666666666667"},
      {"sum_not_exact_in_binary", 0.1 + 0.2, "0.3"},
      {"smallest_plain", 1e-5, "0.00001"},
      {"below_plain_range", 1e-6, "1E-06"},
      {"largest_plain", 123456789012345.0, "123456789012345"},
      {"at_exponent_range", 1e15, "1E+15"},
      {"rounds_up_into_exponent_range", 999999999999999.9, "1E+15"},
      {"negative_exponent_form", -1.5e20, "-1.5E+20"},
      {"three_digit_exponent", 2.5e-100, "2.5E-100"},
      {"zero", 0.0, "0"},
      {"negative_zero", -0.0, "0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FormatMessageNumber(c.value), c.text);
  }
}

TEST(FormatMessageNumberTest, ReadsBackToFifteenDigits) {
  std::mt19937_64 random(13);
  std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
  std::uniform_int_distribution<int> exponent(-60, 60);
  for (int i = 0; i < 2000; ++i) {
    const double value = std::ldexp(mantissa(random), exponent(random));
    const std::string text = FormatMessageNumber(value);
    ASSERT_NEAR(ValueOfString(text), value, std::fabs(value) * 1e-14) << text;
    ASSERT_EQ(text.find_first_of("e,"), std::string::npos) << text;
  }
}

// The window's toolkit may switch the C locale to one with a decimal comma;
// numbers must be written and read with a point all the same.
TEST(NumberTextLocaleTest, CommaLocaleChangesNoDigit) {
  const double values[] = {0.5, -0.04733, 1234.5, 25.5, 0.0954915028125263, 1e-7};
  std::vector<std::string> in_c_locale;
  for (const double v : values) {
    in_c_locale.push_back(FormatFixed5(v) + "|" + FormatShortest(v) + "|" +
                          FormatMessageNumber(v));
  }
  testing::CommaLocale comma;
  if (!comma.active()) GTEST_SKIP() << "no comma-decimal locale is installed";
  for (std::size_t i = 0; i < std::size(values); ++i) {
    const double v = values[i];
    EXPECT_EQ(FormatFixed5(v) + "|" + FormatShortest(v) + "|" + FormatMessageNumber(v),
              in_c_locale[i]);
    EXPECT_EQ(ValueOfString(FormatShortest(v)), v);
    EXPECT_EQ(ParseNumberField(FormatShortest(v)).value, v);
  }
  EXPECT_EQ(ValueOfString("1,5"), 1.0);
  EXPECT_EQ(ParseNumberField("1,5").kind, FieldNumber::Kind::kNotNumber);
}

}  // namespace
}  // namespace quilane
