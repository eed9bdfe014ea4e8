#include "cli/clipboard_copy.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/base/write_all.h"

extern char** environ;

namespace morvane {

namespace {

// The helper answers as soon as the clipboard holds the password, or not.
constexpr int kAnswerWaitMs = 15000;
constexpr char kHelperName[] = "morvane-clipboard";

// Beside the program in the build tree; in the library folder once installed.
std::filesystem::path HelperPath() {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
    if (std::filesystem::exists(folder / kHelperName, error)) return folder / kHelperName;
    return folder / ".." / MORVANE_LIBEXEC_FOLDER / kHelperName;
}

bool Set(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

class Pipe {
public:
    Pipe() { ok_ = ::pipe2(ends_, O_CLOEXEC) == 0; }
    ~Pipe() {
        Close(kRead);
        Close(kWrite);
    }
    static constexpr int kRead = 0, kWrite = 1;
    bool ok() const { return ok_; }
    int end(int which) const { return ends_[which]; }
    void Close(int which) {
        if (ends_[which] >= 0) ::close(ends_[which]);
        ends_[which] = -1;
    }

private:
    int ends_[2] = {-1, -1};
    bool ok_ = false;
};

// The helper's one line, or empty when it said nothing in time.
std::string ReadAnswer(int fd) {
    std::string answer;
    char block[512];
    pollfd wanted{fd, POLLIN, 0};
    while (answer.find('\n') == std::string::npos) {
        const int ready = ::poll(&wanted, 1, kAnswerWaitMs);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) break;
        const ssize_t n = ::read(fd, block, sizeof block);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        answer.append(block, static_cast<size_t>(n));
    }
    return answer.substr(0, answer.find('\n'));
}

}  // namespace

bool DesktopToCopyTo() { return Set("DISPLAY") || Set("WAYLAND_DISPLAY"); }

CopyResult CopyToClipboard(std::string_view password, std::optional<int> clear_after) {
    CopyResult result;
    Pipe to_helper, from_helper;
    if (!to_helper.ok() || !from_helper.ok()) return {false, 0, std::strerror(errno)};
    const std::string helper = HelperPath().lexically_normal().string();
    const std::string delay = clear_after ? std::to_string(*clear_after) : std::string();
    std::vector<char*> arguments{const_cast<char*>(helper.c_str())};
    if (clear_after) arguments.push_back(const_cast<char*>(delay.c_str()));
    arguments.push_back(nullptr);

    // The helper outlives this program in a session of its own, holding
    // none of its output: a shell reading that output does not wait for it.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, to_helper.end(Pipe::kRead), STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, from_helper.end(Pipe::kWrite), STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    pid_t pid = 0;
    const int failed = ::posix_spawn(&pid, helper.c_str(), &actions, &attributes, arguments.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (failed != 0) return {false, 0, "the clipboard helper " + helper + " could not start: " + std::strerror(failed)};
    to_helper.Close(Pipe::kRead);
    from_helper.Close(Pipe::kWrite);

    const bool sent = WriteAll(to_helper.end(Pipe::kWrite), password) == 0;
    to_helper.Close(Pipe::kWrite);
    const std::string answer = ReadAnswer(from_helper.end(Pipe::kRead));
    constexpr std::string_view kCopied = "copied ", kFailed = "failed ";
    if (sent && answer.rfind(kCopied, 0) == 0) {
        result.copied = true;
        result.delay_seconds = std::atoi(answer.c_str() + kCopied.size());
    } else if (answer.rfind(kFailed, 0) == 0) {
        result.problem = answer.substr(kFailed.size());
    } else {
        result.problem = "the clipboard helper did not answer";
    }
    if (!result.copied) ::kill(pid, SIGKILL);  // it must not copy later on
    return result;
}

}  // namespace morvane
