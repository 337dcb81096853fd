#include "ChildProcess.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

std::string ProgramFile(const std::string& withoutEnding)
{
    return withoutEnding;
}

int RunProgram(const std::string& program, const std::vector<std::string>& arguments, const std::string& out,
    const std::string& err)
{
    // Everything the child needs is made before the fork: after it, only calls that are
    // safe in the copy of a process with threads.
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        const int outFile = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int errFile = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (outFile < 0 || errFile < 0 || ::dup2(outFile, STDOUT_FILENO) < 0 || ::dup2(errFile, STDERR_FILENO) < 0)
            ::_exit(127);
        ::close(outFile);
        ::close(errFile);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    int status = 0;
    pid_t ended = -1;
    do
        ended = ::waitpid(child, &status, 0);
    while (ended < 0 && errno == EINTR);
    if (ended != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}
