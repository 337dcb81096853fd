#include "Environment.h"

#include <cstdlib>

const char* TemporaryFolderVariable()
{
    return "TMPDIR";
}

std::optional<std::string> ReadEnvironment(const std::string& name)
{
    const char* value = std::getenv(name.c_str());
    if (!value)
        return std::nullopt;
    return std::string(value);
}

void WriteEnvironment(const std::string& name, const std::optional<std::string>& value)
{
    if (value)
        ::setenv(name.c_str(), value->c_str(), 1);
    else
        ::unsetenv(name.c_str());
}
