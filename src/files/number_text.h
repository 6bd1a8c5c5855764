// Numbers to and from text, independent of the C locale: the program's
// value-of-a-string rule for typed settings and the number patterns of the
// written files. Qt sets the locale from the environment, so nothing here may
// use printf, strtod or iostreams for numbers.
#ifndef QUILANE_FILES_NUMBER_TEXT_H_
#define QUILANE_FILES_NUMBER_TEXT_H_

#include <string>
#include <string_view>

namespace quilane {

// Value of a typed text: blanks, tabs and line feeds anywhere are ignored;
// reading takes an optional sign, digits, one decimal point and an optional
// exponent (e or E, optional sign, digits) and stops at the first character
// that cannot continue the number; text that does not begin with a number
// gives 0. The decimal separator is always the point. An exponent without
// digits is not part of the number. May give +-infinity for huge exponents.
double ValueOfString(std::string_view text);

// Whether ValueOfString finds a number at the start of `text`, rather than
// giving 0 for text that does not begin with one ("abc", "", "-").
bool BeginsWithNumber(std::string_view text);

// "####": a whole number without leading zeros or blanks ("1", "12", "1000").
std::string FormatWhole(long long value);

// "#0.####0": rounded to five decimals, all five written, at least one digit
// before the point, a minus sign directly before the first digit; a negative
// value that rounds to zero is written "0.00000". Rounding is of the exact
// binary value, so only a value exactly halfway (1/64 = 0.015625) is a tie,
// and it goes to the even digit ("0.01562"). Needs a finite value.
std::string FormatFixed5(double value);

// Fixed-point with `decimals` places (0 to 17), all written, at least one
// digit before the point, a minus sign directly before the first digit; a
// negative value that rounds to zero is written without its sign. Rounding is
// of the exact binary value, ties to even ("0.000000", "-0.001260",
// "1.000000" for six places). Needs a finite value.
std::string FormatFixed(double value, int decimals);

// Shortest plain decimal that reads back to the same double ("51", "25.5",
// "0.1"), as used for counts and for the zoom factor.
std::string FormatShortest(double value);

// Plain decimal with up to 15 significant digits and no trailing zeros
// ("0.5", "0.0954915028125263"), as shown in messages; exponent form only for
// magnitudes below 1e-5 or at or above 1e15, written as the mantissa, "E", the
// sign and at least two exponent digits ("1E-06", "1.5E+20"). Zero is "0";
// infinities and NaN give "inf", "-inf", "nan".
std::string FormatMessageNumber(double value);

// A numeric field of a coordinate file read as a whole.
struct FieldNumber {
  enum class Kind {
    kNumber,     // value holds the number
    kNotNumber,  // the field is empty or holds anything but a decimal number
    kNotFinite,  // "nan", "inf", "infinity" (any case, signed or not) or too large for a double
  };
  Kind kind = Kind::kNotNumber;
  double value = 0.0;
};

// Reads the whole field as a decimal number: optional sign (+ or -), digits
// with at most one decimal point (at least one digit), optional exponent (e or
// E, optional sign, at least one digit). Nothing else may stand in the field.
// A value too small for a double reads as zero of its sign.
FieldNumber ParseNumberField(std::string_view field);

}  // namespace quilane

#endif  // QUILANE_FILES_NUMBER_TEXT_H_
