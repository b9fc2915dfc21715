#pragma once
// Files are single-byte Windows-1252 text; memory holds UTF-8. These convert at the boundary.

#include <string>
#include <string_view>

namespace zeb::app {

std::string Cp1252ToUtf8(std::string_view bytes);
// Characters Windows-1252 cannot store become "?".
std::string Utf8ToCp1252(std::string_view utf8);
// Whether every character of the UTF-8 text can be stored in Windows-1252.
bool FitsCp1252(std::string_view utf8);

} // namespace zeb::app
