#include "platform/base/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace morvane {
namespace {

namespace fs = std::filesystem;

constexpr size_t kPiece = size_t{1} << 20;


// The temporary files of a write are named after the file they will
// replace, hidden beside it: ".Passwords.txt.morvane-" and six characters.
std::string TemporaryStem(const fs::path& target) { return "." + target.filename().string() + ".morvane-"; }

// What an interrupted write of the same file left behind: only regular
// files of this user that bear the temporary name exactly.
void RemoveLeftovers(const fs::path& target) {
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    const std::string stem = TemporaryStem(target);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() != stem.size() + 6 || name.compare(0, stem.size(), stem) != 0) continue;
        const fs::path leftover = folder / name;
        struct stat st {};
        if (::lstat(leftover.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid())
            ::unlink(leftover.c_str());
    }
    ::closedir(dir);
}

// A new file of the temporary name, readable and writable by its owner
// alone from the instant it exists; `name` is set to its path. An fd, or -1
// with errno.
int CreateTemporary(const fs::path& folder, const std::string& stem, std::string& name) {
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    constexpr int kTries = 100;
    for (int attempt = 0; attempt < kTries; ++attempt) {
        unsigned char random[6];
        if (::getrandom(random, sizeof random, 0) != sizeof random) return -1;
        std::string suffix;
        for (const unsigned char r : random) suffix += kLetters[r % (sizeof kLetters - 1)];
        name = (folder / (stem + suffix)).string();
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, S_IRUSR | S_IWUSR);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

// 0 or errno.
int WritePieces(int fd, const std::string& text, const std::function<void()>& between_pieces) {
    for (size_t done = 0; done < text.size();) {
        if (between_pieces) between_pieces();
        const ssize_t n = ::write(fd, text.data() + done, std::min(kPiece, text.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n < 0 ? errno : EIO;
        done += static_cast<size_t>(n);
    }
    if (between_pieces) between_pieces();
    return 0;
}

// Puts the finished temporary file in the target's place without touching
// anything already there: an exclusive rename, or a hard link where the
// file system has none. 0 or errno.
int PlaceAsNew(const std::string& temporary, const std::string& target) {
    if (::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    if (::link(temporary.c_str(), target.c_str()) != 0) return errno;
    ::unlink(temporary.c_str());
    return 0;
}

}  // namespace

std::string WriteFileWhole(const std::string& path, const std::string& text, const WholeFileWrite& how) {
    // Past the file-size limit a write fails with EFBIG instead of the
    // signal ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    if (path.empty()) return "No file name was given.";
    const bool replace = how.existing == WholeFileWrite::Existing::kReplace;
    std::string target = path;
    struct stat st {};
    const bool exists = ::lstat(path.c_str(), &st) == 0;
    if (exists && !replace) return "it exists already, and is left as it is";
    if (exists && S_ISLNK(st.st_mode)) {  // followed: the link itself stays
        std::error_code failed;
        const fs::path resolved = fs::weakly_canonical(path, failed);
        if (failed) return failed.message();
        target = resolved.string();
    }
    const bool replacing = ::stat(target.c_str(), &st) == 0;
    if (replacing && !S_ISREG(st.st_mode)) return kNotARegularFile;
    const fs::path folder = fs::path(target).parent_path().empty() ? fs::path(".") : fs::path(target).parent_path();
    RemoveLeftovers(target);
    std::string temporary;
    const int fd = CreateTemporary(folder, TemporaryStem(target), temporary);
    if (fd < 0) {
        if (errno == EACCES && fs::is_directory(folder))
            return "the folder " + folder.string() + " cannot be written, so nothing was changed.";
        return std::strerror(errno);
    }
    const auto discard = [&](int error) {
        ::unlink(temporary.c_str());
        return std::string(std::strerror(error));
    };
    const auto fail = [&](int error) {
        ::close(fd);
        return discard(error);
    };
    // A replaced file keeps its permissions where it is asked to; else it
    // stays private.
    if (replacing && how.keep_permissions && ::fchmod(fd, st.st_mode & 07777) != 0) return fail(errno);
    if (const int error = WritePieces(fd, text, how.between_pieces); error != 0) return fail(error);
    if (::fsync(fd) != 0) return fail(errno);
    if (::close(fd) != 0) return discard(errno);
    const int placed = replace ? (::rename(temporary.c_str(), target.c_str()) == 0 ? 0 : errno)
                               : PlaceAsNew(temporary, target);
    if (placed != 0) return discard(placed);
    return {};
}

}  // namespace morvane
