// Preloaded into a test: the file system refuses unnamed temporary files
// (O_TMPFILE), as NFS, CIFS, vfat and many FUSE ones do, and each file
// created is logged with its mode at that instant to MORVANE_CREATION_LOG.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int OpenAt(int folder, const char* path, int flags, mode_t mode) {
    if ((flags & O_TMPFILE) == O_TMPFILE) {
        errno = EOPNOTSUPP;
        return -1;
    }
    const int fd = static_cast<int>(syscall(SYS_openat, folder, path, flags, mode));
    const char* log = std::getenv("MORVANE_CREATION_LOG");
    if (fd >= 0 && (flags & O_CREAT) && log) {
        struct stat st {};
        fstat(fd, &st);
        char line[4200];
        const int size = std::snprintf(line, sizeof line, "%03o %s\n", st.st_mode & 07777, path);
        const int out = static_cast<int>(syscall(SYS_openat, AT_FDCWD, log, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600));
        if (out >= 0) {
            ssize_t ignored = write(out, line, static_cast<size_t>(size));
            (void)ignored;
            close(out);
        }
    }
    return fd;
}

mode_t ModeOf(int flags, va_list args) {
    return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? static_cast<mode_t>(va_arg(args, int)) : 0;
}

}  // namespace

#define MORVANE_OPEN(name)                                      \
    extern "C" int name(const char* path, int flags, ...) {     \
        va_list args;                                           \
        va_start(args, flags);                                  \
        const mode_t mode = ModeOf(flags, args);                \
        va_end(args);                                           \
        return OpenAt(AT_FDCWD, path, flags, mode);             \
    }
#define MORVANE_OPENAT(name)                                          \
    extern "C" int name(int folder, const char* path, int flags, ...) { \
        va_list args;                                                 \
        va_start(args, flags);                                        \
        const mode_t mode = ModeOf(flags, args);                      \
        va_end(args);                                                 \
        return OpenAt(folder, path, flags, mode);                     \
    }
MORVANE_OPEN(open)
MORVANE_OPEN(open64)
MORVANE_OPENAT(openat)
MORVANE_OPENAT(openat64)
