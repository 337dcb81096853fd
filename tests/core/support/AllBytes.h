// Every byte value once, then line ends of every kind: what a text-mode file would change.
#pragma once

#include <string>

inline const std::string AllBytes = [] {
    std::string bytes;
    for (int i = 0; i < 256; ++i)
        bytes += static_cast<char>(i);
    return bytes + "\r\n\n\r";
}();
