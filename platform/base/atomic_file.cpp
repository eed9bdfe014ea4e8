#include "platform/base/atomic_file.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/base/write_all.h"

namespace morvane {

std::string WriteFileAtomically(const std::string& path, const std::string& text) {
    const auto reason = [](const std::string& where, int error) { return where + ": " + std::strerror(error); };
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
    const std::filesystem::path folder = std::filesystem::path(target).parent_path();
    std::string temporary = (folder / ("." + std::filesystem::path(target).filename().string() + ".XXXXXX")).string();
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return reason(folder.string(), errno);
    const auto discard = [&](int error) {
        ::unlink(temporary.c_str());
        return reason(target, error);
    };
    const auto fail = [&](int error) {
        ::close(fd);
        return discard(error);
    };
    if (::fchmod(fd, S_IRUSR | S_IWUSR) != 0) return fail(errno);
    if (const int error = WriteAll(fd, text); error != 0) return fail(error);
    if (::fsync(fd) != 0) return fail(errno);
    if (::close(fd) != 0) return discard(errno);
    if (::rename(temporary.c_str(), target.c_str()) != 0) return discard(errno);
    return {};
}

}  // namespace morvane
