// Paths are UTF-8 text throughout the program. std::filesystem::path's plain string()
// and its constructor from std::string use the system's narrow code page on Windows,
// which cannot name a Cyrillic folder there: every conversion goes through these two.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

inline std::filesystem::path PathFromUtf8(std::string_view utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string Utf8FromPath(const std::filesystem::path& path)
{
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
}
