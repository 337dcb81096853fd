#include "tools/report/Console.h"

#include <sys/stat.h>
#include <unistd.h>

std::vector<std::string> CommandLineArguments(int argc, char** argv)
{
    return std::vector<std::string>(argv + 1, argv + argc);
}

// The streams carry bytes already.
void UseBinaryStandardStreams() { }

bool IsStandardOutput(const std::string& path)
{
    struct stat target { };
    struct stat out { };
    return ::stat(path.c_str(), &target) == 0 && ::fstat(STDOUT_FILENO, &out) == 0 && target.st_dev == out.st_dev
        && target.st_ino == out.st_ino;
}
