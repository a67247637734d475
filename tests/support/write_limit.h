// A full disk for tests: files may not grow beyond a few bytes.
//
// TWriteLimit sets the process's file size limit (RLIMIT_FSIZE) for its
// lifetime and ignores SIGXFSZ, so a write past the limit fails with EFBIG
// (after writing what still fits) instead of ending the process.
// RunUnderWriteLimit does the same in a child process, for code whose
// failure must not touch the test process (Qt's file and image writers):
// the child runs body and exits 0 when it returned true, 1 when false.
//
//     EXPECT_EQ(testsupport::RunUnderWriteLimit(2, [&] { return Save(file); }), 1);
#pragma once

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

class TWriteLimit {
public:
    explicit TWriteLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &FOld);
        FOldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = FOld;
        small.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &small);
    }
    ~TWriteLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &FOld);
        std::signal(SIGXFSZ, FOldHandler);
    }
    TWriteLimit(const TWriteLimit &) = delete;
    TWriteLimit &operator=(const TWriteLimit &) = delete;

private:
    rlimit FOld{};
    void (*FOldHandler)(int) = nullptr;
};

// The child's exit code (0: body returned true, 1: false), or -1 when the
// child could not be started or did not exit normally.
inline int RunUnderWriteLimit(rlim_t bytes, const std::function<bool()> &body)
{
    const pid_t pid = ::fork();
    if (pid < 0)
        return -1;
    if (pid == 0) {
        TWriteLimit limit(bytes);
        ::_exit(body() ? 0 : 1); // no destructors or exit handlers of the test process
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0)
        if (errno != EINTR)
            return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace testsupport
