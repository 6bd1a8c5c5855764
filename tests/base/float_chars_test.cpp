#include <bit>
#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/float_chars.h"

// The fmt / fast_float stand-ins held against the standard library's own
// conversions: text, result code and end pointer must all agree.
namespace quilane {
namespace {

using limits = std::numeric_limits<double>;
constexpr auto kFixed = std::chars_format::fixed, kScientific = std::chars_format::scientific,
               kGeneral = std::chars_format::general, kHex = std::chars_format::hex;

struct Form {
  std::optional<std::chars_format> format;  // none: the plain shortest form
  std::optional<int> precision;
};

// The text `convert` writes for `value` into a buffer of `size`, or "too large".
template <typename Convert>
std::string Text(Convert convert, double value, const Form& form, std::size_t size = 1500) {
  static char buffer[1500];
  char* const last = buffer + size;
  const std::to_chars_result result =
      !form.format      ? convert(buffer, last, value)
      : !form.precision ? convert(buffer, last, value, *form.format)
                        : convert(buffer, last, value, *form.format, *form.precision);
  if (result.ec != std::errc()) return result.ptr == last ? "too large" : "bad end";
  return std::string(buffer, result.ptr);
}

const auto kStd = [](auto... args) { return std::to_chars(args...); };
const auto kPortable = [](auto... args) { return portable_chars::ToChars(args...); };

TEST(FloatChars, WritesEdgeValuesAsStdDoesInEveryForm) {
  const double values[] = {
      0.0, -0.0, limits::denorm_min(), 3e-320, limits::min(), limits::max(), 1e23, -1e23,
      1.2345678901234568e20, 0.1, -1.0 / 3, 123456.0, 1234567.0, 1e5, 1e21, 1e-4, 1e-5, 1e-7,
      -2.5, limits::infinity(), -limits::infinity(), limits::quiet_NaN(), -limits::quiet_NaN()};
  std::vector<Form> forms = {{}};
  for (const std::chars_format format : {kFixed, kScientific, kGeneral, kHex}) {
    forms.push_back({format, std::nullopt});
    for (const int p : {-1, 0, 1, 5, 14, 17, 800, 1100}) forms.push_back({format, p});
  }
  for (const double value : values) {
    for (const Form& form : forms) {
      const std::string expected = Text(kStd, value, form);
      SCOPED_TRACE(Text(kStd, value, {}) + " in " + testing::PrintToString(form.format) +
                   testing::PrintToString(form.precision));
      EXPECT_EQ(Text(kPortable, value, form), expected);
      EXPECT_EQ(Text(kPortable, value, form, expected.size()), expected);
      EXPECT_EQ(Text(kPortable, value, form, expected.size() - 1), "too large");
    }
  }
}

TEST(FloatChars, WritesRandomDoublesAsStdDoesInTheFormsTheProgramUses) {
  // Plain and fixed for files and messages, the rest for the report and NACA titles.
  const Form forms[] = {{}, {kFixed, {}}, {kFixed, 1}, {kFixed, 5}, {kFixed, 6},
                        {kScientific, 1}, {kScientific, 14}, {kGeneral, 2}, {kGeneral, 3},
                        {kGeneral, 6}, {kGeneral, 12}, {kGeneral, 17}};
  std::mt19937_64 random(20240611);
  std::uniform_real_distribution<double> coordinate(-2.0, 2.0);
  for (int i = 0; i < 100000; ++i) {
    for (const double value : {std::bit_cast<double>(random()), coordinate(random)}) {
      for (const Form& form : forms) {
        ASSERT_EQ(Text(kPortable, value, form), Text(kStd, value, form))
            << Text(kStd, value, {}) << " in " << testing::PrintToString(form.format)
            << testing::PrintToString(form.precision);
      }
    }
  }
}

TEST(FloatChars, ReadsAsStdDoes) {
  const std::string texts[] = {
      "0.1", "-2.5e-3", "123456", "1e400", "-1e400", "1e-400", "4.9406564584124654e-324",
      "2e-324", "3e-324", "2.2250738585072011e-308", "1.7976931348623159e308", "inf", "-infinity",
      "nan", "-nan", "+1", "", "abc", "-", "1.5e", "1e+", ".5", "5.", " 1", "0x10",
      std::string(400, '9'), "0." + std::string(400, '0') + "1"};
  for (const std::string& text : texts) {
    SCOPED_TRACE(text.substr(0, 40));
    double expected = 42.0, value = 42.0;
    const auto want = std::from_chars(text.data(), text.data() + text.size(), expected);
    const auto got = portable_chars::FromChars(text.data(), text.data() + text.size(), value);
    EXPECT_EQ(got.ec, want.ec);
    EXPECT_EQ(got.ptr, want.ptr);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(value), std::bit_cast<std::uint64_t>(expected));
  }
}

}  // namespace
}  // namespace quilane
