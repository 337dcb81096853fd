// A new folder of the process's own among the system's temporary files, for work files
// that must not meet another run's.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Creates `prefix` followed by six random letters and digits in the temporary folder,
// which only the owner may enter; its UTF-8 path, or none when no folder could be made.
std::optional<std::string> CreatePrivateFolder(std::string_view prefix);
