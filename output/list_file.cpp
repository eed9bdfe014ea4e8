#include "output/list_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

namespace morvane {

std::string WriteFileReplacing(const std::string& path, const std::string& content) {
    namespace fs = std::filesystem;
    fs::path target(path);
    if (target.filename().empty()) return "No file name was given.";
    fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    std::string pattern = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    std::vector<char> temp(pattern.begin(), pattern.end());
    temp.push_back('\0');
    int fd = mkstemp(temp.data());
    if (fd < 0) return std::strerror(errno);

    auto fail = [&](int error) {
        close(fd);
        unlink(temp.data());
        return std::string(std::strerror(error));
    };
    struct stat existing {};
    if (stat(path.c_str(), &existing) == 0) {
        if (access(path.c_str(), W_OK) != 0) return fail(errno);  // a read-only file stays as it is
        fchmod(fd, existing.st_mode & 07777);
    } else {
        mode_t mask = umask(0);
        umask(mask);
        fchmod(fd, 0666 & ~mask);
    }
    size_t written = 0;
    while (written < content.size()) {
        ssize_t n = write(fd, content.data() + written, content.size() - written);
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail(errno);
        }
        written += static_cast<size_t>(n);
    }
    if (fsync(fd) != 0) return fail(errno);
    if (close(fd) != 0) {
        int error = errno;
        unlink(temp.data());
        return std::strerror(error);
    }
    if (std::rename(temp.data(), path.c_str()) != 0) {
        int error = errno;
        unlink(temp.data());
        return std::strerror(error);
    }
    return {};
}

}  // namespace morvane
