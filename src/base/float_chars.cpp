#include "base/float_chars.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <system_error>

// QUILANE_STD_FLOAT_CHARS_ONLY leaves the fallback out, for a build (the
// Python package's) that knows the standard library has the conversions and
// so needs no fmt or fast_float.
#ifndef QUILANE_STD_FLOAT_CHARS_ONLY
#define FMT_HEADER_ONLY
#include <fast_float/fast_float.h>
#include <fmt/compile.h>
#include <fmt/format.h>
#endif

namespace quilane {

// The build sets QUILANE_STD_FLOAT_CHARS when std::to_chars and std::from_chars
// for double compile and link.
#ifdef QUILANE_STD_FLOAT_CHARS
std::to_chars_result ToChars(char* first, char* last, double value) {
  return std::to_chars(first, last, value);
}
std::to_chars_result ToChars(char* first, char* last, double value, std::chars_format format) {
  return std::to_chars(first, last, value, format);
}
std::to_chars_result ToChars(char* first, char* last, double value, std::chars_format format,
                             int precision) {
  return std::to_chars(first, last, value, format, precision);
}
std::from_chars_result FromChars(const char* first, const char* last, double& value) {
  return std::from_chars(first, last, value);
}
#else
std::to_chars_result ToChars(char* first, char* last, double value) {
  return portable_chars::ToChars(first, last, value);
}
std::to_chars_result ToChars(char* first, char* last, double value, std::chars_format format) {
  return portable_chars::ToChars(first, last, value, format);
}
std::to_chars_result ToChars(char* first, char* last, double value, std::chars_format format,
                             int precision) {
  return portable_chars::ToChars(first, last, value, format, precision);
}
std::from_chars_result FromChars(const char* first, const char* last, double& value) {
  return portable_chars::FromChars(first, last, value);
}
#endif

#ifndef QUILANE_STD_FLOAT_CHARS_ONLY
namespace portable_chars {
namespace {

// Copies `text` to [first, last) whole, or reports that it does not fit.
std::to_chars_result Put(char* first, char* last, std::string_view text) {
  if (last - first < static_cast<std::ptrdiff_t>(text.size())) {
    return {last, std::errc::value_too_large};
  }
  return {std::copy(text.begin(), text.end(), first), std::errc()};
}

// The shortest decimal digits that read back as `magnitude` (finite, >= 0),
// without leading or trailing zeros ("0" for zero), and the power of ten of the
// first digit: 0.0125 is {"125", -2}.
struct Decimal {
  std::string digits;
  int exponent = 0;
};

Decimal Shortest(double magnitude) {
  if (magnitude == 0.0) return {"0", 0};
  // fmt's shortest form: "0.0125", "1234.5", "1000000" or "1.5e+22".
  const std::string text = fmt::format("{}", magnitude);
  const std::size_t e = std::min(text.find('e'), text.size());
  Decimal decimal;
  int integer_digits = 0;
  bool point = false;
  for (std::size_t i = 0; i < e; ++i) {
    if (text[i] == '.') {
      point = true;
    } else {
      decimal.digits.push_back(text[i]);
      if (!point) ++integer_digits;
    }
  }
  int power = 0;
  if (e < text.size()) {
    const char* start = text.data() + e + 1;
    if (*start == '+') ++start;
    std::from_chars(start, text.data() + text.size(), power);
  }
  const std::size_t leading_zeros = decimal.digits.find_first_not_of('0');
  decimal.digits.erase(0, leading_zeros);
  decimal.digits.erase(decimal.digits.find_last_not_of('0') + 1);
  decimal.exponent = integer_digits - static_cast<int>(leading_zeros) - 1 + power;
  return decimal;
}

std::size_t Count(const Decimal& d) { return d.digits.size(); }

// The digits end at or before the units: the value is a whole number.
bool IsWhole(const Decimal& d) { return d.exponent + 1 >= static_cast<int>(Count(d)); }

// "d.ddde+XX", with two exponent digits at least.
std::string Scientific(const Decimal& d) {
  std::string text(1, d.digits[0]);
  if (Count(d) > 1) text.append(".").append(d.digits, 1);
  return text + fmt::format("e{}{:02}", d.exponent < 0 ? '-' : '+', std::abs(d.exponent));
}

std::size_t ScientificSize(const Decimal& d) {
  return Count(d) + (Count(d) > 1 ? 1 : 0) + (std::abs(d.exponent) >= 100 ? 5 : 4);
}

// The digits laid out around the point, padded with zeros on either side.
std::string FixedDigits(const Decimal& d) {
  if (d.exponent < 0) return "0." + std::string(-d.exponent - 1, '0') + d.digits;
  if (IsWhole(d)) return d.digits + std::string(d.exponent + 1 - Count(d), '0');
  return d.digits.substr(0, d.exponent + 1) + "." + d.digits.substr(d.exponent + 1);
}

std::size_t FixedSize(const Decimal& d) {
  if (d.exponent < 0) return Count(d) + 1 - d.exponent;
  return IsWhole(d) ? d.exponent + 1 : Count(d) + 1;
}

// A whole number is written with its exact value, as printf("%.0f") does:
// 1e23 is 99999999999999991611392, not 1 and 23 zeros.
std::string Fixed(double magnitude, const Decimal& d) {
  return IsWhole(d) ? fmt::format("{:.0f}", magnitude) : FixedDigits(d);
}

// `magnitude` in hex, "1.8p+1", with `precision` digits after the point rounded
// half to even, or (precision < 0) all of them but trailing zeros. Subnormals
// keep their leading 0 ("0.0000000000001p-1022"); a carry turns 1 into 2.
// Written here, not with fmt, which leaves hex to the C library's printf.
std::string HexText(double magnitude, int precision) {
  constexpr int kMantissaBits = 52;
  std::uint64_t bits = 0;  // std::bit_cast is missing from some standard libraries
  std::memcpy(&bits, &magnitude, sizeof bits);
  const int biased = static_cast<int>(bits >> kMantissaBits);
  std::uint64_t mantissa = bits & ((std::uint64_t{1} << kMantissaBits) - 1);
  int leading = biased == 0 ? 0 : 1;
  const int exponent = magnitude == 0.0 ? 0 : biased == 0 ? -1022 : biased - 1023;
  int digits = kMantissaBits / 4;
  if (precision >= 0 && precision < digits) {
    const int shift = kMantissaBits - 4 * precision;
    const std::uint64_t rest = mantissa & ((std::uint64_t{1} << shift) - 1);
    const std::uint64_t half = std::uint64_t{1} << (shift - 1);
    mantissa >>= shift;
    const bool odd = precision == 0 ? leading & 1 : mantissa & 1;
    if (rest > half || (rest == half && odd)) ++mantissa;
    digits = precision;
    if (mantissa >> (4 * digits) != 0) {
      ++leading;
      mantissa = 0;
    }
  }
  std::string fraction = digits > 0 ? fmt::format("{:0{}x}", mantissa, digits) : "";
  if (precision < 0) {
    fraction.erase(fraction.find_last_not_of('0') + 1);
  } else {
    fraction.append(precision - digits, '0');
  }
  return fmt::format("{}{}{}p{:+}", leading, fraction.empty() ? "" : ".", fraction, exponent);
}

// The shortest text of `magnitude` in `format`; any other format value asks for
// fixed or scientific, whichever is shorter (fixed on a tie).
std::string ShortestText(double magnitude, std::chars_format format) {
  if (format == std::chars_format::hex) return HexText(magnitude, -1);
  const Decimal d = Shortest(magnitude);
  switch (format) {
    case std::chars_format::scientific:
      return Scientific(d);
    case std::chars_format::fixed:
      return Fixed(magnitude, d);
    case std::chars_format::general:  // printf's %g style choice, with its default precision 6
      return d.exponent >= -4 && d.exponent < 6 ? FixedDigits(d) : Scientific(d);
    default:
      return FixedSize(d) <= ScientificSize(d) ? Fixed(magnitude, d) : Scientific(d);
  }
}

// fmt rounds to this many digits at most: as many significant digits as the
// exact value of any double has, but in fixed notation it caps the decimals too.
constexpr int kFmtDigits = 767;

// `magnitude` in fixed notation with more than kFmtDigits decimals: its exact
// digits, rounded to `decimals` places where they run on that far.
std::string WideFixed(double magnitude, int decimals) {
  int exponent = 0;
  const auto scientific = [&](int precision) {
    std::string text = fmt::format("{:.{}e}", magnitude, precision);
    const std::size_t e = text.find('e');
    std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(),
                    exponent);
    return text.erase(e);
  };
  std::string text = scientific(kFmtDigits - 1);
  if (decimals + exponent < kFmtDigits - 1) text = scientific(decimals + exponent);
  if (text.size() > 1) text.erase(1, 1);  // the point
  // The digit at place `k` (0 the units, 1 the tenths, -1 the tens).
  const auto digit = [&](int k) {
    const int i = exponent + k;
    return i >= 0 && i < static_cast<int>(text.size()) ? text[i] : '0';
  };
  std::string fixed;
  for (int k = -std::max(exponent, 0); k <= decimals; ++k) {
    if (k == 1) fixed += '.';
    fixed += digit(k);
  }
  return fixed;
}

// `magnitude` rounded to `precision` (>= 0) as printf writes it, hex without "0x".
std::string RoundedText(double magnitude, std::chars_format format, int precision) {
  switch (format) {
    case std::chars_format::fixed:
      if (precision > kFmtDigits) return WideFixed(magnitude, precision);
      return fmt::format("{:.{}f}", magnitude, precision);
    case std::chars_format::scientific:
      return fmt::format("{:.{}e}", magnitude, precision);
    case std::chars_format::hex:
      return HexText(magnitude, precision);
    default:
      return fmt::format("{:.{}g}", magnitude, precision);
  }
}

// The text of `value`: "inf" and "nan" whatever the format, and '-' for a set
// sign bit (also on -0 and -nan), followed by `write(|value|)`.
template <typename Write>
std::to_chars_result Signed(char* first, char* last, double value, Write write) {
  std::string text = std::signbit(value) ? "-" : "";
  const double magnitude = std::abs(value);
  if (std::isnan(value)) {
    text += "nan";
  } else if (std::isinf(value)) {
    text += "inf";
  } else {
    text += write(magnitude);
  }
  return Put(first, last, text);
}

}  // namespace

std::to_chars_result ToChars(char* first, char* last, double value) {
  return Signed(first, last, value, [](double m) { return ShortestText(m, std::chars_format{}); });
}

std::to_chars_result ToChars(char* first, char* last, double value, std::chars_format format) {
  return Signed(first, last, value, [format](double m) { return ShortestText(m, format); });
}

std::to_chars_result ToChars(char* first, char* last, double value, std::chars_format format,
                             int precision) {
  // Finite fixed, scientific and hex text holds more than `precision` characters:
  // a huge precision is refused before any text is made.
  if (std::isfinite(value) && format != std::chars_format::general && precision >= last - first) {
    return {last, std::errc::value_too_large};
  }
  // The forms a file or a message of the program uses, written by fmt straight
  // into the buffer with the format compiled: a result file formats two
  // numbers per line this way.
  const bool direct = format == std::chars_format::fixed || format == std::chars_format::scientific;
  if (std::isfinite(value) && direct && precision >= 0 && precision <= kFmtDigits) {
    const auto size = static_cast<std::size_t>(last - first);
    const auto written =
        format == std::chars_format::fixed
            ? fmt::format_to_n(first, size, FMT_COMPILE("{:.{}f}"), value, precision)
            : fmt::format_to_n(first, size, FMT_COMPILE("{:.{}e}"), value, precision);
    if (written.size > size) return {last, std::errc::value_too_large};
    return {written.out, std::errc()};
  }
  return Signed(first, last, value, [format, precision](double m) {
    // A negative precision means printf's default, 6, and the shortest text in hex.
    if (precision < 0 && format == std::chars_format::hex) return HexText(m, -1);
    return RoundedText(m, format, precision < 0 ? 6 : precision);
  });
}

std::from_chars_result FromChars(const char* first, const char* last, double& value) {
  double read = 0.0;
  const auto [end, error] = fast_float::from_chars(first, last, read);
  if (error != std::errc()) return {end, error};
  // fast_float rounds a number beyond the range of double to infinity, or to
  // zero; the standard library refuses it and leaves `value` as it was.
  const std::string_view text(first, end - first);
  const std::string_view mantissa = text.substr(0, text.find_first_of("eE"));
  const bool numeral = mantissa.find_first_of("0123456789") != std::string_view::npos;
  if ((numeral && std::isinf(read)) ||
      (read == 0.0 && mantissa.find_first_of("123456789") != std::string_view::npos)) {
    return {end, std::errc::result_out_of_range};
  }
  value = read;
  return {end, std::errc()};
}

}  // namespace portable_chars
#endif  // QUILANE_STD_FLOAT_CHARS_ONLY

}  // namespace quilane
