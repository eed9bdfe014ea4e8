#include "platform/base/atomic_file.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "platform/base/write_all.h"

namespace morvane {

namespace {

std::string Reason(const std::string& where, int error) { return where + ": " + std::strerror(error); }

// Writes `text` into a new file beside `target`, 0600 from its first
// instant and flushed to the disk; then `place` puts it where it belongs
// and returns errno or 0. A failure leaves nothing behind.
template <class Place>
std::string WriteBeside(const std::string& target, const std::string& text, Place&& place) {
    const std::filesystem::path folder = std::filesystem::path(target).parent_path();
    std::string temporary = (folder / ("." + std::filesystem::path(target).filename().string() + ".XXXXXX")).string();
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return Reason(folder.empty() ? std::string(".") : folder.string(), errno);
    const auto discard = [&](int error) {
        ::unlink(temporary.c_str());
        return Reason(target, error);
    };
    const auto fail = [&](int error) {
        ::close(fd);
        return discard(error);
    };
    if (::fchmod(fd, S_IRUSR | S_IWUSR) != 0) return fail(errno);
    if (const int error = WriteAll(fd, text); error != 0) return fail(error);
    if (::fsync(fd) != 0) return fail(errno);
    if (::close(fd) != 0) return discard(errno);
    if (const int error = place(temporary); error != 0) return discard(error);
    return {};
}

}  // namespace

std::string WriteFileAtomically(const std::string& path, const std::string& text) {
    // A link is followed to its target, so that the link itself stays.
    std::string target = path;
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        std::error_code failed;
        const std::filesystem::path resolved = std::filesystem::weakly_canonical(path, failed);
        if (failed) return path + ": " + failed.message();
        target = resolved.string();
    }
    if (::stat(target.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) return target + ": not a regular file";
    return WriteBeside(target, text, [&](const std::string& temporary) {
        return ::rename(temporary.c_str(), target.c_str()) == 0 ? 0 : errno;
    });
}

std::string CreateFileWhole(const std::string& path, const std::string& text) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0) return path + ": it exists already, and is left as it is";
    return WriteBeside(path, text, [&](const std::string& temporary) {
        if (::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0) return 0;
        if (errno != EINVAL && errno != ENOSYS) return errno;
        // A file system without the exclusive rename: a hard link is just
        // as sure not to replace what is there.
        if (::link(temporary.c_str(), path.c_str()) != 0) return errno;
        ::unlink(temporary.c_str());
        return 0;
    });
}

}  // namespace morvane
