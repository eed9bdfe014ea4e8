// What both programs set up at start: not dumpable, and a message with exit
// code 1 when memory runs out.
#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/process_guard.h"

using namespace morvane;

namespace {

struct ChildEnd {
    int exit_code = -1;
    std::string error_output;
};

// Runs `body` in a child process that has guarded itself first.
template <class Body>
ChildEnd InGuardedChild(Body body) {
    int err[2];
    if (pipe(err) != 0) return {};
    const pid_t child = fork();
    if (child == 0) {
        dup2(err[1], STDERR_FILENO);
        GuardProcess("guarded");
        _exit(body());
    }
    close(err[1]);
    ChildEnd end;
    char buffer[256];
    for (ssize_t n; (n = read(err[0], buffer, sizeof buffer)) > 0;) end.error_output.append(buffer, n);
    close(err[0]);
    int status = 0;
    waitpid(child, &status, 0);
    end.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    return end;
}

}  // namespace

TEST(ProcessGuard, TheProcessIsNotDumpable) {
    EXPECT_EQ(InGuardedChild([] { return prctl(PR_GET_DUMPABLE, 0, 0, 0, 0) == 0 ? 0 : 9; }).exit_code, 0);
}

TEST(ProcessGuard, RunningOutOfMemoryEndsWithAMessageAndOneInsteadOfAnAbort) {
#ifdef MORVANE_SANITIZED
    GTEST_SKIP() << "the sanitizers reserve more address space than the limit allows";
#endif
    const ChildEnd end = InGuardedChild([] {
        rlimit limit{256u << 20, 256u << 20};
        setrlimit(RLIMIT_AS, &limit);
        std::vector<std::vector<char>> hoard;
        for (;;) hoard.emplace_back(16u << 20, 'x');
        return 0;
    });
    EXPECT_EQ(end.exit_code, kSystemFailureExit);
    EXPECT_EQ(end.error_output, "guarded: out of memory\n");
}
