#pragma once
// Files are single-byte Windows-1252 text; memory holds UTF-8. These convert at the boundary.

#include <cstddef>
#include <string>
#include <string_view>

namespace zeb::app {

std::string Cp1252ToUtf8(std::string_view bytes);
// Characters Windows-1252 cannot store become "?".
std::string Utf8ToCp1252(std::string_view utf8);
// Whether every character of the UTF-8 text can be stored in Windows-1252.
bool FitsCp1252(std::string_view utf8);
// Whether the bytes are well-formed UTF-8 (no overlong forms, surrogates or code points past
// U+10FFFF), as an editor that saves UTF-8 writes them.
bool IsUtf8(std::string_view bytes);
// The first `count` characters of UTF-8 text; a character is never split.
std::string Utf8Prefix(std::string_view utf8, std::size_t count);

} // namespace zeb::app
