// Locale-free conversions between double and text, with the contracts and the
// results of std::to_chars and std::from_chars for double. They forward to the
// standard library where it has those overloads and stand in where it lacks them.

#ifndef QUILANE_BASE_FLOAT_CHARS_H_
#define QUILANE_BASE_FLOAT_CHARS_H_

#include <charconv>

namespace quilane {

// The shortest text that reads back as `value`, fixed or scientific, whichever
// is shorter (fixed on a tie). {last, errc::value_too_large} when it does not fit.
std::to_chars_result ToChars(char* first, char* last, double value);

// The shortest text in `format` that reads back as `value`.
std::to_chars_result ToChars(char* first, char* last, double value, std::chars_format format);

// `value` rounded to `precision` in `format`, as printf's %f, %e, %g or %a
// (without "0x") would write it; a negative precision as std::to_chars takes it.
std::to_chars_result ToChars(char* first, char* last, double value, std::chars_format format,
                             int precision);

// Reads a double in general format (no leading '+' or blanks; "inf", "nan").
// A value out of the range of double gives errc::result_out_of_range with ptr past
// the number and `value` untouched; no number gives errc::invalid_argument, ptr first.
std::from_chars_result FromChars(const char* first, const char* last, double& value);

// The same conversions built on fmt and fast_float, which the functions above
// use where the standard library lacks its own. Built everywhere, so they can be
// held against the standard library where it has them.
namespace portable_chars {

std::to_chars_result ToChars(char* first, char* last, double value);
std::to_chars_result ToChars(char* first, char* last, double value, std::chars_format format);
std::to_chars_result ToChars(char* first, char* last, double value, std::chars_format format,
                             int precision);
std::from_chars_result FromChars(const char* first, const char* last, double& value);

}  // namespace portable_chars

}  // namespace quilane

#endif  // QUILANE_BASE_FLOAT_CHARS_H_
