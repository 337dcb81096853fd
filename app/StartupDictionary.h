// Where the start-up dictionary comes from. The working directory first, so that a folder
// of assessments keeps its own vocabulary; then the user's configuration folder; then the
// sample dictionary installed with the program (in its data folder, or in its own folder
// as on Windows). The first found wins.
#pragma once

#include <string>
#include <vector>

inline constexpr const char* kStartupDictionaryName = "default.dic";

// The folders to look in, in order; the working directory is the empty string.
std::vector<std::string> StartupDictionaryFolders();

// The first folder's dictionary that exists; the bare name (the working directory's, as
// start-up has always said in its message) when none does.
std::string FindStartupDictionary(const std::vector<std::string>& folders);
