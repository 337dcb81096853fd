// UTF-8, in which the program keeps every text and path, and the UTF-16 of the Windows
// API's wide functions, through which every path reaches that system. Windows only.
#pragma once

#include <string>
#include <string_view>

// Empty when `utf8` is empty or is no valid UTF-8.
std::wstring WidenUtf8(std::string_view utf8);
// Empty when `wide` is empty; a lone surrogate becomes U+FFFD.
std::string NarrowToUtf8(std::wstring_view wide);
