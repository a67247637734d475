// Runs a check as an unprivileged user when the tests run as root (as CI
// does): root ignores folder permissions, so a test that a read-only folder
// keeps its file would otherwise prove nothing. The child process takes over
// folder (its owner becomes the user "nobody", uid and gid 65534), drops
// root, runs body and exits 0 when body returned true and no test
// expectation failed in it. As a plain user body simply runs in the test.
//
//     EXPECT_TRUE(testsupport::RunUnprivileged(dir, [&] { ...checks...; return true; }));
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

inline bool RunUnprivileged(const std::filesystem::path &folder, const std::function<bool()> &body)
{
    if (::geteuid() != 0)
        return body();
    constexpr uid_t kNobody = 65534;
    const pid_t pid = ::fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        std::error_code ec;
        bool handed = ::lchown(folder.c_str(), kNobody, kNobody) == 0;
        for (auto it = std::filesystem::recursive_directory_iterator(folder, ec);
             !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
            handed = ::lchown(it->path().c_str(), kNobody, kNobody) == 0 && handed;
        if (!handed || ::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 ||
            ::setuid(kNobody) != 0 || ::geteuid() == 0)
            ::_exit(2);
        const bool ok = body() && !::testing::Test::HasFailure();
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0)
        if (errno != EINTR)
            return false;
    // Give the folder back, so that the test's own clean-up can remove it.
    std::error_code ec;
    ::lchown(folder.c_str(), 0, 0);
    for (auto it = std::filesystem::recursive_directory_iterator(folder, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
        ::lchown(it->path().c_str(), 0, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace testsupport
