#include "files/number_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>

#include "base/float_chars.h"

namespace quilane {
namespace {

// Room for any double written in fixed notation (up to 309 integer digits or
// 324 decimal places) with sign, point and five or more decimals.
constexpr std::size_t kNumberBuffer = 400;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the longest prefix of `s` that is a decimal number: optional sign,
// digits with at most one point (at least one digit), optional exponent with
// at least one digit. 0 when `s` does not begin with a number.
std::size_t ScanDecimal(std::string_view s) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < s.size() && IsDigit(s[i])) {
    ++i;
    ++digits;
  }
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && IsDigit(s[i])) {
      ++i;
      ++digits;
    }
  }
  if (digits == 0) return 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    const std::size_t exponent_start = j;
    while (j < s.size() && IsDigit(s[j])) ++j;
    if (j > exponent_start) i = j;  // "1e" stops before the e
  }
  return i;
}

// Decimal order of a valid number whose value does not fit a double: the
// number lies in [10^(order-1), 10^order). Only its sign matters to the
// caller (overflow above, underflow below), so the exponent saturates.
long long DecimalOrder(std::string_view number) {
  std::size_t i = 0;
  if (number[i] == '+' || number[i] == '-') ++i;
  long long integer_digits = 0;
  long long first_nonzero = -1;  // index among all mantissa digits
  long long index = 0;
  bool after_point = false;
  for (; i < number.size() && number[i] != 'e' && number[i] != 'E'; ++i) {
    if (number[i] == '.') {
      after_point = true;
      continue;
    }
    if (!after_point) ++integer_digits;
    if (first_nonzero < 0 && number[i] != '0') first_nonzero = index;
    ++index;
  }
  long long exponent = 0;
  if (i < number.size()) {
    ++i;
    bool negative = false;
    if (number[i] == '+' || number[i] == '-') negative = number[i++] == '-';
    for (; i < number.size(); ++i) {
      if (exponent < 1'000'000'000) exponent = exponent * 10 + (number[i] - '0');
    }
    if (negative) exponent = -exponent;
  }
  if (first_nonzero < 0) return std::numeric_limits<long long>::min() / 2;
  return integer_digits - first_nonzero + exponent;
}

// Value of a string that ScanDecimal accepted in full. Overflow gives
// +-infinity, underflow zero of the sign.
double ConvertDecimal(std::string_view number) {
  const bool negative = number.front() == '-';
  if (number.front() == '+') number.remove_prefix(1);
  double value = 0.0;
  const auto [end, error] = FromChars(number.data(), number.data() + number.size(), value);
  (void)end;
  if (error == std::errc::result_out_of_range) {
    const double magnitude =
        DecimalOrder(number) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -magnitude : magnitude;
  }
  return value;
}

bool EqualsIgnoringCase(std::string_view text, std::string_view lower) {
  if (text.size() != lower.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != lower[i]) return false;
  }
  return true;
}

std::string Chars(const char* first, const char* last) { return std::string(first, last); }

// The typed text without its blanks, tabs and line feeds.
std::string WithoutBlanks(std::string_view text) {
  std::string compact;
  compact.reserve(text.size());
  for (const char c : text) {
    if (c != ' ' && c != '\t' && c != '\n') compact.push_back(c);
  }
  return compact;
}

}  // namespace

bool BeginsWithNumber(std::string_view text) { return ScanDecimal(WithoutBlanks(text)) > 0; }

double ValueOfString(std::string_view text) {
  const std::string compact = WithoutBlanks(text);
  const std::size_t length = ScanDecimal(compact);
  if (length == 0) return 0.0;
  return ConvertDecimal(std::string_view(compact).substr(0, length));
}

FieldNumber ParseNumberField(std::string_view field) {
  FieldNumber result;
  const std::size_t length = ScanDecimal(field);
  if (length == 0 || length != field.size()) {
    std::string_view word = field;
    if (!word.empty() && (word.front() == '+' || word.front() == '-')) word.remove_prefix(1);
    if (EqualsIgnoringCase(word, "nan") || EqualsIgnoringCase(word, "inf") ||
        EqualsIgnoringCase(word, "infinity")) {
      result.kind = FieldNumber::Kind::kNotFinite;
    }
    return result;
  }
  result.value = ConvertDecimal(field);
  result.kind = std::isfinite(result.value) ? FieldNumber::Kind::kNumber
                                            : FieldNumber::Kind::kNotFinite;
  return result;
}

std::string FormatWhole(long long value) {
  std::array<char, 24> buffer;
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  return Chars(buffer.data(), result.ptr);
}

std::string FormatFixed5(double value) {
  std::array<char, kNumberBuffer> buffer;
  const auto result =
      ToChars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, 5);
  std::string text = Chars(buffer.data(), result.ptr);
  if (text == "-0.00000") text.erase(0, 1);
  return text;
}

std::string FormatFixed(double value, int decimals) {
  std::array<char, kNumberBuffer> buffer;
  const auto result = ToChars(buffer.data(), buffer.data() + buffer.size(), value,
                              std::chars_format::fixed, decimals);
  std::string text = Chars(buffer.data(), result.ptr);
  if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos) {
    text.erase(0, 1);
  }
  return text;
}

std::string FormatShortest(double value) {
  if (value == 0.0) return "0";  // also -0
  std::array<char, kNumberBuffer> buffer;
  const auto result =
      ToChars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed);
  return Chars(buffer.data(), result.ptr);
}

std::string FormatMessageNumber(double value) {
  if (value == 0.0) return "0";
  std::array<char, kNumberBuffer> buffer;
  if (!std::isfinite(value)) {
    const auto result = ToChars(buffer.data(), buffer.data() + buffer.size(), value);
    return Chars(buffer.data(), result.ptr);
  }
  // Round to 15 significant digits: "-d.dddddddddddddde-02".
  const auto result = ToChars(buffer.data(), buffer.data() + buffer.size(), value,
                              std::chars_format::scientific, 14);
  const std::string_view scientific(buffer.data(), result.ptr - buffer.data());
  const std::size_t e = scientific.find('e');
  std::string digits;
  for (const char c : scientific.substr(0, e)) {
    if (IsDigit(c)) digits.push_back(c);
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  int exponent = 0;
  {
    std::string_view text = scientific.substr(e + 1);
    if (text.front() == '+') text.remove_prefix(1);
    std::from_chars(text.data(), text.data() + text.size(), exponent);
  }

  std::string out = value < 0 ? "-" : "";
  if (exponent < -5 || exponent >= 15) {
    out += digits[0];
    if (digits.size() > 1) {
      out += '.';
      out.append(digits, 1, std::string::npos);
    }
    out += exponent < 0 ? "E-" : "E+";
    const int magnitude = exponent < 0 ? -exponent : exponent;
    if (magnitude < 10) out += '0';
    out += FormatWhole(magnitude);
    return out;
  }
  if (exponent >= 0) {
    const std::size_t integer_digits = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= integer_digits) {
      out += digits;
      out.append(integer_digits - digits.size(), '0');
    } else {
      out.append(digits, 0, integer_digits);
      out += '.';
      out.append(digits, integer_digits, std::string::npos);
    }
  } else {
    out += "0.";
    out.append(static_cast<std::size_t>(-exponent - 1), '0');
    out += digits;
  }
  return out;
}

}  // namespace quilane
