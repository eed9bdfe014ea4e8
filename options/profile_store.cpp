#include "options/profile_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "options/built_in_profiles.h"
#include "options/config_folder.h"

namespace morvane {
namespace {

std::string Reason(const std::string& path, int error) { return path + ": " + std::strerror(error); }

// The file's bytes; none when it is missing (`missing` set) or cannot be
// read (`problem` set).
std::optional<std::string> ReadWhole(const std::string& path, bool& missing, std::string& problem) {
    missing = false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) missing = true;
        else problem = Reason(path, errno);
        return std::nullopt;
    }
    std::string text;
    char block[1 << 14];
    for (;;) {
        const ssize_t n = ::read(fd, block, sizeof block);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            problem = Reason(path, errno);
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) break;
        text.append(block, static_cast<size_t>(n));
    }
    ::close(fd);
    return text;
}

// Writes the text to a new file in the same folder, readable by the user
// only, and puts it in the file's place.
std::string WriteAtomically(const std::string& path, const std::string& text) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    // The program's own folder is the user's alone, as the file is.
    std::error_code made;
    std::filesystem::create_directories(folder.parent_path(), made);
    if (made) return folder.parent_path().string() + ": " + made.message();
    if (::mkdir(folder.c_str(), S_IRWXU) != 0 && errno != EEXIST) return Reason(folder.string(), errno);
    std::string temporary = (folder / ".profiles.toml.XXXXXX").string();
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return Reason(folder.string(), errno);
    // A failure leaves no new file behind.
    const auto discard = [&](int error) {
        ::unlink(temporary.c_str());
        return Reason(path, error);
    };
    const auto fail = [&](int error) {
        ::close(fd);
        return discard(error);
    };
    if (::fchmod(fd, S_IRUSR | S_IWUSR) != 0) return fail(errno);
    for (size_t done = 0; done < text.size();) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return fail(n < 0 ? errno : EIO);
        done += static_cast<size_t>(n);
    }
    if (::fsync(fd) != 0) return fail(errno);
    if (::close(fd) != 0) return discard(errno);
    if (::rename(temporary.c_str(), path.c_str()) != 0) return discard(errno);
    return {};
}

}  // namespace

std::string ProfilesPath() { return ConfigFolder() + "/profiles.toml"; }

std::optional<ProfileFile> LoadProfiles(ProfileProblem& problem) {
    const std::string path = ProfilesPath();
    problem = {path, 0, {}};
    bool missing = false;
    const std::optional<std::string> text = ReadWhole(path, missing, problem.message);
    if (missing) return ProfileFile{};
    if (!text) return std::nullopt;
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

std::string ChangeProfiles(const ProfilesChange& change) {
    const std::string path = ProfilesPath();
    bool missing = false;
    std::string problem;
    std::optional<std::string> text = ReadWhole(path, missing, problem);
    if (!text && !missing) return problem + ": the file is left as it is";
    if (!text) text.emplace();
    ProfileProblem unread;
    const std::optional<ProfileFile> file = ReadProfiles(*text, path, unread);
    if (!file) return unread.Text() + ": the file is left as it is";
    std::string refusal;
    const std::optional<std::string> changed = change(*text, *file, refusal);
    if (!changed) return refusal;
    return WriteAtomically(path, *changed);
}

std::string SaveProfile(const std::string& name, const ProfileOptions& options) {
    if (std::string why = ProfileNameProblem(name); !why.empty()) return why;
    CliOptions checked;
    if (std::string why = ParseProfileOptions(options, checked); !why.empty()) return why;
    return ChangeProfiles([&](const std::string& text, const ProfileFile&, std::string&) {
        return WithProfile(text, Profile{name, options, 0});
    });
}

std::string DeleteProfile(const std::string& name) {
    if (FindBuiltInProfile(name)) return "\"" + name + "\" is a built-in profile: it cannot be deleted";
    return ChangeProfiles(
        [&](const std::string& text, const ProfileFile& file, std::string& refusal) -> std::optional<std::string> {
            if (!file.Find(name)) {
                refusal = "no profile of yours is named " + name;
                return std::nullopt;
            }
            return WithoutProfile(text, name);
        });
}

std::string SetWindowStart(const std::string& name) {
    return ChangeProfiles(
        [&](const std::string& text, const ProfileFile& file, std::string& refusal) -> std::optional<std::string> {
            if (!name.empty() && !file.Find(name) && !FindBuiltInProfile(name)) {
                refusal = "no profile is named " + name;
                return std::nullopt;
            }
            return WithWindowStart(text, name);
        });
}

}  // namespace morvane
