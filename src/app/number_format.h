#pragma once
// Number texts: how typed text becomes the stored 8.3 form, how stored text becomes a number,
// and the fixed-width display formats. Independent of the process locale throughout.

#include <string>
#include <string_view>

namespace zeb::app {

// Reads a number: leading blanks, optional sign, digits, optional point and digits, optional
// exponent. When the text is not a complete number, the value of its longest readable prefix is
// returned ("7.5 " -> 7.5, "1.5,3" -> 1.5, "abc" -> 0) and *errorPos (if given) receives the
// 1-based position of the first character that could not be read (0 when the whole text was
// read). An empty text gives 0 with error position 1.
long double ParseNumber(std::string_view text, int* errorPos = nullptr);

// x rounded to `decimals` places, right-aligned to at least `width` characters, never cut.
// A value that is not finite cannot be shown: `width` blanks, as for a value never formed.
// Rounding works on the value's 18-digit decimal image, half away from zero, so a typed 2.0005
// shows as 2.001.
std::string FormatFixed(long double x, int width, int decimals);

// Scientific form: a blank or "-", one digit, the point, width - 9 further digits (width - 8
// significant digits, 2 to 18), "E", the exponent sign and four exponent digits, right-aligned
// to `width` (width 12: " 1.000E+0003"); `width` blanks for a value that is not finite.
std::string FormatScientific(long double x, int width);

// The entry-field rule: the first comma becomes a point, the text is read, its absolute value is
// written 8 wide with 3 decimals (NormalizedNumber).
void NormalizeNumberText(std::string& text);

// The stored form of a number read from typed text: its absolute value 8 wide with 3 decimals, and
// 0 for a value too large for any number ("1e99999").
std::string NormalizedNumber(long double typed);

// Stored value texts are at most 10 characters; longer text keeps its first 10 characters
// (UTF-8: a character is never split).
std::string CutValueText(std::string_view text);

} // namespace zeb::app
