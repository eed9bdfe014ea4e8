// Preloaded into a program under test: every block of 64 KiB it takes from
// getrandom is also appended to the file named by MORVANE_RANDOM_LOG, so
// that a scan can look for those random words in the program's memory.
#include <fcntl.h>
#include <cstdlib>
#include <sys/syscall.h>
#include <sys/types.h>
#include <unistd.h>

constexpr ssize_t kLoggedBlock = 65536;

extern "C" ssize_t getrandom(void* buffer, size_t length, unsigned int flags) {
    ssize_t got = syscall(SYS_getrandom, buffer, length, flags);
    const char* log = std::getenv("MORVANE_RANDOM_LOG");
    if (got == kLoggedBlock && log) {
        int fd = open(log, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ssize_t ignored = write(fd, buffer, static_cast<size_t>(got));
            (void)ignored;
            close(fd);
        }
    }
    return got;
}
