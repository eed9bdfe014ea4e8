#include "options/profile_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <algorithm>
#include <filesystem>

#include "options/built_in_profiles.h"
#include "platform/base/config_folder.h"
#include "platform/base/atomic_file.h"
#include "platform/base/user_file.h"

namespace morvane {
namespace {

std::string Reason(const std::string& path, int error) { return path + ": " + std::strerror(error); }

// The file's bytes; none when it is missing (`missing` set) or cannot be
// read (`problem` set).
std::optional<std::string> ReadWhole(const std::string& path, bool& missing, std::string& problem) {
    UserFile file = ReadUserFile(path, "a file of profiles");
    missing = file.outcome == UserFile::kMissing;
    if (file.outcome == UserFile::kRead) return std::move(file.text);
    if (file.outcome == UserFile::kRefused) problem = path + " " + file.problem;
    return std::nullopt;
}

// The program's own folder, the user's alone as the file is.
std::string MakeFolder(const std::string& path) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    std::error_code made;
    std::filesystem::create_directories(folder.parent_path(), made);
    if (made) return folder.parent_path().string() + ": " + made.message();
    if (::mkdir(folder.c_str(), S_IRWXU) != 0 && errno != EEXIST) return Reason(folder.string(), errno);
    return {};
}

// A lock beside the file, held while it is read and rewritten, so that
// programs that change it at once take turns and none loses another's
// change. One that is not let go of within kLockWait is given up on.
class ProfilesLock {
public:
    explicit ProfilesLock(const std::string& path) {
        const std::string lock = std::filesystem::path(path).parent_path() / ".profiles.lock";
        fd_ = ::open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, S_IRUSR | S_IWUSR);
        if (fd_ < 0) {
            problem_ = Reason(lock, errno);
            return;
        }
        for (int waited = 0; ::flock(fd_, LOCK_EX | LOCK_NB) != 0; waited += kLockStepMs) {
            if (errno != EWOULDBLOCK || waited >= kLockWaitMs) {
                problem_ = "another program has been changing the profiles for " +
                           std::to_string(kLockWaitMs / 1000) + " seconds: try again when it is done";
                return;
            }
            ::usleep(kLockStepMs * 1000);
        }
    }
    ~ProfilesLock() {
        if (fd_ >= 0) ::close(fd_);  // lets go of the lock
    }
    ProfilesLock(const ProfilesLock&) = delete;
    ProfilesLock& operator=(const ProfilesLock&) = delete;
    const std::string& problem() const { return problem_; }

private:
    static constexpr int kLockWaitMs = 10000, kLockStepMs = 5;
    int fd_ = -1;
    std::string problem_;
};

// Whether every profile but `changed`, and window-start unless it is the
// change or went with the profile it named, read the same after the change.
bool OthersKept(ProfileFile before, ProfileFile after, const std::string& changed) {
    const auto drop = [&](ProfileFile& file) {
        std::erase_if(file.profiles, [&](const Profile& p) { return p.name == changed; });
        if (changed == kWindowStartChange || file.window_start == changed) file.window_start.clear();
    };
    drop(before);
    drop(after);
    return SameProfiles(before, after);
}

}  // namespace

std::string ProfilesPath() { return ConfigFolder() + "/profiles.toml"; }

std::optional<ProfileFile> LoadProfiles(ProfileProblem& problem) {
    const std::string path = ProfilesPath();
    problem = {path, 0, {}};
    bool missing = false;
    const std::optional<std::string> text = ReadWhole(path, missing, problem.message);
    if (missing) return ProfileFile{};
    if (!text) {
        problem.file.clear();  // the message names it
        return std::nullopt;
    }
    return ReadProfiles(*text, path, problem);
}

ProfileFinder FindProfileIn(const ProfileFile& own) {
    return [own](const std::string& name, std::string& problem) -> std::optional<ProfileOptions> {
        if (const BuiltInProfile* built_in = FindBuiltInProfile(name)) return built_in->options;
        if (const Profile* profile = own.Find(name)) return profile->options;
        problem = "no profile is named " + name + ": --list-profiles lists them";
        return std::nullopt;
    };
}

std::string ChangeProfiles(const std::string& changed, const ProfilesChange& change) {
    const std::string path = ProfilesPath();
    if (std::string why = ConfigFolderProblem(); !why.empty()) return why;
    if (std::string why = MakeFolder(path); !why.empty()) return why;
    const ProfilesLock lock(path);
    if (!lock.problem().empty()) return lock.problem();
    bool missing = false;
    std::string problem;
    std::optional<std::string> text = ReadWhole(path, missing, problem);
    if (!text && !missing) return problem + "; the file is left as it is";
    if (!text) text.emplace();
    ProfileProblem unread;
    const std::optional<ProfileFile> file = ReadProfiles(*text, path, unread);
    if (!file) return unread.Text() + ": the file is left as it is";
    std::string refusal;
    const std::optional<std::string> new_text = change(*text, *file, refusal);
    if (!new_text) return refusal;
    // The new text must read, with every other profile as it was, before
    // it takes the file's place.
    const std::optional<ProfileFile> reread = ReadProfiles(*new_text, path, unread);
    if (!reread) return path + ": the change would leave a file that does not read; the file is left as it is";
    if (!OthersKept(*file, *reread, changed))
        return path + ": the file is written in a way the program cannot change without changing other profiles; "
                      "the file is left as it is";
    if (std::string problem = WriteFileWhole(path, *new_text, {.keep_permissions = false});
        !problem.empty()) return path + ": " + problem;
    return {};
}

std::string SaveProfile(const std::string& name, const ProfileOptions& options) {
    if (std::string why = ProfileNameProblem(name); !why.empty()) return why;
    CliOptions checked;
    if (std::string why = ParseProfileOptions(options, checked); !why.empty()) return why;
    return ChangeProfiles(name, [&](const std::string& text, const ProfileFile&, std::string&) {
        return WithProfile(text, Profile{name, options, 0});
    });
}

std::string DeleteProfile(const std::string& name) {
    if (FindBuiltInProfile(name)) return "\"" + name + "\" is a built-in profile: it cannot be deleted";
    return ChangeProfiles(name, 
        [&](const std::string& text, const ProfileFile& file, std::string& refusal) -> std::optional<std::string> {
            if (!file.Find(name)) {
                refusal = "no profile of yours is named " + name;
                return std::nullopt;
            }
            return WithoutProfile(text, name);
        });
}

std::string SetWindowStart(const std::string& name) {
    return ChangeProfiles(std::string(kWindowStartChange), 
        [&](const std::string& text, const ProfileFile& file, std::string& refusal) -> std::optional<std::string> {
            if (!name.empty() && !file.Find(name) && !FindBuiltInProfile(name)) {
                refusal = "no profile is named " + name;
                return std::nullopt;
            }
            return WithWindowStart(text, name);
        });
}

}  // namespace morvane
