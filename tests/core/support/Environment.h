// An environment variable set for a test and put back afterwards, where Windows and POSIX
// systems differ; each has a unit of its own (EnvironmentPosix.cpp, EnvironmentWindows.cpp).
#pragma once

#include <optional>
#include <string>
#include <utility>

// The variable that names the folder for temporary files.
const char* TemporaryFolderVariable();

// A variable's UTF-8 value; none when it is not set.
std::optional<std::string> ReadEnvironment(const std::string& name);
// Sets the variable to the UTF-8 value, or removes it for none.
void WriteEnvironment(const std::string& name, const std::optional<std::string>& value);

class ScopedEnvironmentVariable {
public:
    ScopedEnvironmentVariable(std::string name, const std::string& value)
        : name_(std::move(name))
        , previous_(ReadEnvironment(name_))
    {
        WriteEnvironment(name_, value);
    }
    ~ScopedEnvironmentVariable() { WriteEnvironment(name_, previous_); }
    ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
    ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;

private:
    std::string name_;
    std::optional<std::string> previous_;
};
