// The value-of-a-string rule on arbitrary text, checked against a model of
// its own: blanks, tabs and line feeds dropped, the longest prefix that is a
// decimal number taken, its value estimated in long double. The result is
// never NaN; it is 0 without a number, +-infinity only beyond the largest
// double, zero only below the smallest, and otherwise agrees with the model.
// The text of a coordinate-file field and the five-decimal pattern are
// checked on the way.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "files/number_text.h"
#include "fuzz_support.h"

namespace quilane::fuzz {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

struct Model {
  bool number = false;     // the text begins with a number
  bool negative = false;
  bool zero = true;        // every mantissa digit is 0
  long double mantissa = 0;  // the first 19 significant digits as a whole number
  long long exponent = 0;    // value = mantissa * 10^exponent
};

Model Expect(std::string_view raw) {
  std::string s;
  for (const char c : raw) {
    if (c != ' ' && c != '\t' && c != '\n') s.push_back(c);
  }
  Model model;
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) model.negative = s[i++] == '-';
  int digits = 0;
  int significant = 0;
  bool point = false;
  for (; i < s.size(); ++i) {
    if (s[i] == '.' && !point) {
      point = true;
      continue;
    }
    if (!IsDigit(s[i])) break;
    ++digits;
    if (s[i] != '0') model.zero = false;
    if (model.zero || significant < 19) {
      // A leading zero only moves the point; a kept digit joins the mantissa.
      if (!model.zero) {
        model.mantissa = model.mantissa * 10 + (s[i] - '0');
        ++significant;
      }
      if (point) --model.exponent;
    } else if (!point) {
      ++model.exponent;  // a dropped digit before the point
    }
  }
  if (digits == 0) return Model{};
  model.number = true;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    std::size_t j = i + 1;
    bool negative = false;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) negative = s[j++] == '-';
    long long value = 0;
    const std::size_t start = j;
    for (; j < s.size() && IsDigit(s[j]); ++j) {
      if (value < 1'000'000'000) value = value * 10 + (s[j] - '0');
    }
    if (j > start) model.exponent += negative ? -value : value;
  }
  return model;
}

}  // namespace
}  // namespace quilane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quilane;
  using namespace quilane::fuzz;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const double value = ValueOfString(text);
  const Model model = Expect(text);
  Check(!std::isnan(value), "NaN");

  if (!model.number || model.zero) {
    Check(value == 0.0, "not 0 for a text without a non-zero number");
  } else {
    Check(std::signbit(value) == model.negative, "wrong sign");
    // Decimal order of the number: it lies in [10^(order-1), 10^order).
    const long double order =
        std::floor(std::log10(model.mantissa)) + 1 + static_cast<long double>(model.exponent);
    if (order > 310) {
      Check(std::isinf(value), "not infinite beyond the largest double");
    } else if (order < -324) {
      Check(value == 0.0, "not zero below the smallest double");
    } else if (order > -300 && order < 308) {
      const long double expected =
          model.mantissa * std::pow(10.0L, static_cast<long double>(model.exponent));
      const long double magnitude = std::abs(static_cast<long double>(value));
      Check(std::abs(magnitude - expected) <= expected * 1e-15L,
            "value differs from the model: " + FormatMessageNumber(value));
    } else {
      Check(std::isinf(value) || std::isfinite(value), "not a number at the edge of the range");
    }
  }

  // The same text as a field of a coordinate file: where it is a number as a
  // whole, it has the value the typed rule gives.
  const FieldNumber field = ParseNumberField(text);
  if (field.kind == FieldNumber::Kind::kNumber) {
    Check(std::isfinite(field.value), "a field number is not finite");
    if (text.find_first_of(" \t\n") == std::string_view::npos) {
      Check(field.value == value || (field.value == 0 && value == 0),
            "field and typed rule disagree");
    }
  }

  // The five-decimal pattern reads back to the value.
  if (std::isfinite(value)) {
    const std::string fixed = FormatFixed5(value);
    const FieldNumber back = ParseNumberField(fixed);
    Check(back.kind == FieldNumber::Kind::kNumber, "\"" + fixed + "\" does not read back");
    Check(SameToFiveDecimals(back.value, value), "\"" + fixed + "\" is not the value");
    Check(!FormatMessageNumber(value).empty(), "empty message number");
  }
  return 0;
}
