// What both programs set up at start: not dumpable, and a message with exit
// code 1 when memory runs out.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/random.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/base/process_guard.h"

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

// Whether the heap holds `bytes` anywhere but at `bytes` itself, read
// through /proc into memory outside the heap. It allocates nothing, so it
// takes no released block back into use.
bool HeapHolds(const unsigned char* bytes, size_t size) {
    static char maps[1 << 16];
    const int maps_file = open("/proc/self/maps", O_RDONLY);
    ssize_t got = 0;
    for (ssize_t n; (n = read(maps_file, maps + got, sizeof maps - 1 - static_cast<size_t>(got))) > 0;) got += n;
    close(maps_file);
    maps[got] = '\0';
    const char* heap_line = std::strstr(maps, "[heap]");
    if (!heap_line) return false;
    while (heap_line > maps && heap_line[-1] != '\n') --heap_line;
    char* dash = nullptr;
    const uintptr_t start = std::strtoull(heap_line, &dash, 16);
    const uintptr_t end = std::strtoull(dash + 1, nullptr, 16);
    const size_t length = end - start;
    void* copy = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    const int mem = open("/proc/self/mem", O_RDONLY);
    const bool read_all = pread(mem, copy, length, static_cast<off_t>(start)) == static_cast<ssize_t>(length);
    close(mem);
    bool held = false;
    const auto* heap = static_cast<const unsigned char*>(copy);
    for (size_t at = 0; read_all && !held && at + size <= length; ++at)
        held = start + at != reinterpret_cast<uintptr_t>(bytes) && std::memcmp(heap + at, bytes, size) == 0;
    munmap(copy, length);
    return held;
}

}  // namespace

TEST(ProcessGuard, SmallReleasedBlocksHoldNothingOnceWiped) {
#ifdef MORVANE_SANITIZED
    GTEST_SKIP() << "the sanitizers' allocator keeps released blocks its own way";
#endif
    enum : int { kGone = 0, kNeverKept = 2, kStillHeld = 4 };
    const ChildEnd end = InGuardedChild([] {
        // The C library keeps small released blocks aside for reuse as they
        // are: a secret in one stays readable until it is wiped.
        auto* secret = static_cast<unsigned char*>(std::malloc(2000));  // too large to be kept aside
        if (getrandom(secret, 48, 0) != 48) return 9;
        auto* small = static_cast<unsigned char*>(std::malloc(100));
        std::memcpy(small + 20, secret, 48);
        asm volatile("" : : "r"(small) : "memory");  // the copy is made, though the block is let go next
        std::free(small);
        const bool kept = HeapHolds(secret, 48);
        WipeReleasedSmallBlocks();
        return (kept ? 0 : kNeverKept) | (HeapHolds(secret, 48) ? kStillHeld : 0);
    });
    EXPECT_EQ(end.exit_code, kGone);
}

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
