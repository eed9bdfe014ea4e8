#include "platform/base/user_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/base/wiped_memory.h"

namespace morvane {

const char* KindOfFile(unsigned mode) {
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISFIFO(mode)) return "a pipe";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    if (S_ISSOCK(mode)) return "a socket";
    return "not a regular file";
}

bool ReadAtMost(int fd, size_t most_bytes, std::string& text) {
    char piece[1 << 16];
    bool read_all = true;
    while (text.size() <= most_bytes) {
        const ssize_t n = ::read(fd, piece, sizeof piece);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) read_all = false;
        if (n <= 0) break;
        text.append(piece, static_cast<size_t>(n));
    }
    const int error = errno;
    ::explicit_bzero(piece, sizeof piece);  // it held the file's text
    errno = error;
    return read_all;
}

UserFile ReadUserFile(const std::string& path, const std::string& meant, size_t most_bytes) {
    UserFile file;
    const auto refuse = [&](std::string why) {
        Wipe(file.text);
        file.text.clear();
        file.outcome = UserFile::kRefused;
        file.problem = std::move(why);
        return std::move(file);
    };
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return file;
        return refuse(std::string("cannot be read: ") + std::strerror(errno));
    }
    struct stat st {};
    std::string why;
    if (::fstat(fd, &st) != 0) why = std::string("cannot be read: ") + std::strerror(errno);
    else if (!S_ISREG(st.st_mode)) why = std::string("is ") + KindOfFile(st.st_mode) + ", not " + meant;
    else if (static_cast<size_t>(st.st_size) > most_bytes) why = "is larger than " + std::to_string(most_bytes >> 20) + " MiB";
    if (why.empty() && !ReadAtMost(fd, most_bytes, file.text))
        why = std::string("cannot be read: ") + std::strerror(errno);
    ::close(fd);
    if (why.empty() && file.text.size() > most_bytes) why = "is larger than " + std::to_string(most_bytes >> 20) + " MiB";
    if (!why.empty()) return refuse(why);
    if (file.text.starts_with("\xEF\xBB\xBF")) file.text.erase(0, 3);
    file.outcome = UserFile::kRead;
    return file;
}

}  // namespace morvane
