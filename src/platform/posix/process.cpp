#include "platform/process.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace plv::process {
namespace {

// Runs in the grandchild after fork: only async-signal-safe calls until exec.
[[noreturn]] void execHidden(char* const* argv, int reportFd) {
    ::setsid();
    int null = ::open("/dev/null", O_RDWR);
    if (null >= 0) {
        ::dup2(null, 0);
        ::dup2(null, 1);
        ::dup2(null, 2);
    }
    ::execv(argv[0], argv);
    int error = errno;
    [[maybe_unused]] auto written = ::write(reportFd, &error, sizeof error);
    ::_exit(127);
}

} // namespace

bool startDetached(const std::string& program, const std::vector<std::string>& arguments) {
    if (::access(program.c_str(), X_OK) != 0) {
        return false;
    }
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& w : words) {
        argv.push_back(w.data());
    }
    argv.push_back(nullptr);

    // The pipe tells whether exec succeeded: it closes on exec and carries errno otherwise.
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) {
        return false;
    }
    pid_t child = ::fork();
    if (child < 0) {
        ::close(report[0]);
        ::close(report[1]);
        return false;
    }
    if (child == 0) {
        // The intermediate child leaves at once, so the program is adopted by init and
        // nobody has to wait for it.
        ::close(report[0]);
        pid_t grandchild = ::fork();
        if (grandchild == 0) {
            execHidden(argv.data(), report[1]);
        }
        ::_exit(grandchild < 0 ? 1 : 0);
    }
    ::close(report[1]);
    int status = 0;
    ::waitpid(child, &status, 0);
    int error = 0;
    ssize_t got = ::read(report[0], &error, sizeof error);
    ::close(report[0]);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 && got == 0;
}

} // namespace plv::process
