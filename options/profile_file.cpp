#include "options/profile_file.h"

#include <algorithm>

#include "options/built_in_profiles.h"

#define TOML_HEADER_ONLY 1
#define TOML_EXCEPTIONS 0
#include <toml++/toml.h>

namespace morvane {
namespace {

constexpr std::string_view kWindowStart = "window-start";

int LineOf(const toml::node& node) { return static_cast<int>(node.source().begin.line); }

// The file's lines, each with its line end.
std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const size_t length = end == std::string_view::npos ? text.size() : end + 1;
        lines.emplace_back(text.substr(0, length));
        text.remove_prefix(length);
    }
    if (!lines.empty() && lines.back().back() != '\n') lines.back() += '\n';
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line;
    return text;
}

std::string_view Trimmed(std::string_view line) {
    const size_t first = line.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    return line.substr(first, line.find_last_not_of(" \t\r\n") - first + 1);
}

bool IsBlankOrComment(std::string_view line) {
    const std::string_view trimmed = Trimmed(line);
    return trimmed.empty() || trimmed.front() == '#';
}

bool IsTableHeader(std::string_view line) { return Trimmed(line).starts_with("["); }

// Whether the line (counted from 1) is the plain header "[name]" that opens
// the profile's table, the way the program writes it.
bool OpensTable(const std::vector<std::string>& lines, int line, std::string_view name) {
    if (line < 1 || line > static_cast<int>(lines.size())) return false;
    std::string_view header = Trimmed(lines[static_cast<size_t>(line - 1)]);
    if (const size_t comment = header.find('#'); comment != std::string_view::npos)
        header = Trimmed(header.substr(0, comment));
    if (!header.starts_with("[") || !header.ends_with("]")) return false;
    return Trimmed(header.substr(1, header.size() - 2)) == name;
}

// The lines of a profile's table that begins at `line`: from its header to
// its last key, leaving the comments and blank lines before the next table
// to that table.
std::pair<size_t, size_t> TableLines(const std::vector<std::string>& lines, int line) {
    const size_t begin = static_cast<size_t>(line - 1);
    size_t end = begin + 1;
    size_t last_key = begin;
    while (end < lines.size() && !IsTableHeader(lines[end])) {
        if (!IsBlankOrComment(lines[end])) last_key = end;
        ++end;
    }
    return {begin, last_key + 1};
}

// A TOML basic string: quoted, with the characters TOML requires escaped.
std::string QuotedText(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        const auto code = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (c == '\n') {
            quoted += "\\n";
        } else if (c == '\t') {
            quoted += "\\t";
        } else if (code < 0x20 || code == 0x7F) {
            static constexpr char kHex[] = "0123456789ABCDEF";
            quoted += "\\u00";
            quoted += kHex[code >> 4];
            quoted += kHex[code & 15];
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

// The whole file written anew from what it holds; for files whose tables
// were written in a form the program does not edit in place.
std::string WholeFile(const ProfileFile& file) {
    std::string text;
    if (!file.window_start.empty()) text += std::string(kWindowStart) + " = " + QuotedText(file.window_start) + "\n";
    for (const Profile& profile : file.profiles) {
        if (!text.empty()) text += "\n";
        text += ProfileTable(profile);
    }
    return text;
}

std::optional<ProfileFile> ReadAgain(std::string_view text) {
    ProfileProblem ignored;
    return ReadProfiles(text, {}, ignored);
}

// The text edited line by line where it reads as `expected` (a line that
// only looks like a table's start, inside a string of several lines, can
// mislead the edit), else the whole file written anew.
std::string EditedOrWhole(std::string edited, const ProfileFile& expected) {
    const std::optional<ProfileFile> reread = ReadAgain(edited);
    if (reread && SameProfiles(*reread, expected)) return edited;
    return WholeFile(expected);
}

}  // namespace

std::string ProfileProblem::Text() const {
    if (file.empty()) return message;
    return line > 0 ? file + ":" + std::to_string(line) + ": " + message : file + ": " + message;
}

bool SameProfiles(const ProfileFile& a, const ProfileFile& b) {
    if (a.window_start != b.window_start || a.profiles.size() != b.profiles.size()) return false;
    for (const Profile& profile : a.profiles) {
        const Profile* other = b.Find(profile.name);
        if (!other || !std::equal(profile.options.begin(), profile.options.end(), other->options.begin(),
                                  other->options.end(), [](const ProfileOption& x, const ProfileOption& y) {
                                      return x.name == y.name && x.Shown() == y.Shown();
                                  }))
            return false;
    }
    return true;
}

const Profile* ProfileFile::Find(std::string_view name) const {
    for (const Profile& p : profiles)
        if (p.name == name) return &p;
    return nullptr;
}

bool IsProfileName(std::string_view name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
    });
}

std::string ProfileNameProblem(std::string_view name) {
    if (name.empty()) return "a profile needs a name: one word of letters, digits, - and _";
    if (name == kWindowStart)
        return "\"" + std::string(name) + "\" names the profile the window starts with: give yours another name";
    if (!IsProfileName(name))
        return "\"" + std::string(name) + "\" is not a profile's name: one word of letters, digits, - and _";
    if (FindBuiltInProfile(name))
        return "\"" + std::string(name) + "\" is the name of a built-in profile: give yours another";
    return {};
}

std::optional<ProfileFile> ReadProfiles(std::string_view text, const std::string& file, ProfileProblem& problem) {
    problem = {file, 0, {}};
    const auto fail = [&](int line, std::string message) -> std::optional<ProfileFile> {
        problem.line = line;
        problem.message = std::move(message);
        return std::nullopt;
    };
    toml::parse_result parsed = toml::parse(text, file);
    if (!parsed)
        return fail(static_cast<int>(parsed.error().source().begin.line), std::string(parsed.error().description()));
    const toml::table& root = parsed.table();
    ProfileFile read;
    int window_start_line = 0;
    for (const auto& [key, node] : root) {
        const std::string name(key.str());
        if (name == kWindowStart) {
            const auto* start = node.as_string();
            if (!start) return fail(LineOf(node), "window-start must be a profile's name in quotes");
            read.window_start = start->get();
            window_start_line = LineOf(node);
            continue;
        }
        const toml::table* table = node.as_table();
        if (!table) return fail(LineOf(node), "\"" + name + "\" is neither window-start nor a profile's table");
        if (std::string why = ProfileNameProblem(name); !why.empty()) return fail(LineOf(node), why);
        Profile profile{name, {}, LineOf(node)};
        for (const auto& [option_key, value] : *table) {
            const std::string option(option_key.str());
            ProfileOption kept{option, {}, LineOf(value)};
            switch (ProfileValueOf(option)) {
                case ProfileValue::kNotKept:
                    return fail(kept.line, "\"" + option + "\" is not an option of a profile");
                case ProfileValue::kFlag:
                    if (!value.is_boolean()) return fail(kept.line, option + " must be true or false");
                    if (!value.as_boolean()->get()) continue;  // false: as if not given
                    break;
                case ProfileValue::kNumber:
                    if (!value.is_integer()) return fail(kept.line, option + " must be a whole number");
                    kept.number = value.as_integer()->get();
                    break;
                case ProfileValue::kText:
                    if (!value.is_string()) return fail(kept.line, option + " must be a text in quotes");
                    kept.value = value.as_string()->get();
                    break;
            }
            profile.options.push_back(std::move(kept));
        }
        std::stable_sort(profile.options.begin(), profile.options.end(),
                         [](const ProfileOption& a, const ProfileOption& b) { return a.line < b.line; });
        CliOptions checked;
        int line_of_problem = 0;
        if (std::string why = ParseProfileOptions(profile.options, checked, &line_of_problem); !why.empty())
            return fail(line_of_problem > 0 ? line_of_problem : profile.line, "profile " + name + ": " + why);
        read.profiles.push_back(std::move(profile));
    }
    // The tables in the order they stand in the file.
    std::stable_sort(read.profiles.begin(), read.profiles.end(),
                     [](const Profile& a, const Profile& b) { return a.line < b.line; });
    if (!read.window_start.empty() && !read.Find(read.window_start) && !FindBuiltInProfile(read.window_start))
        return fail(window_start_line, "window-start names no profile: " + read.window_start);
    return read;
}

std::string ProfileTable(const Profile& profile) {
    std::string table = "[" + profile.name + "]\n";
    for (const ProfileOption& option : profile.options) {
        table += option.name + " = ";
        switch (ProfileValueOf(option.name)) {
            case ProfileValue::kFlag: table += "true"; break;
            case ProfileValue::kNumber: table += option.Shown(); break;
            case ProfileValue::kText:
            case ProfileValue::kNotKept: table += QuotedText(option.value); break;
        }
        table += "\n";
    }
    return table;
}

std::string WithProfile(std::string_view text, const Profile& profile) {
    std::optional<ProfileFile> file = ReadAgain(text);
    if (!file) return std::string(text);
    std::vector<std::string> lines = SplitLines(text);
    const std::vector<std::string> table = SplitLines(ProfileTable(profile));
    ProfileFile expected = *file;
    if (const Profile* old = file->Find(profile.name)) {
        for (Profile& p : expected.profiles)
            if (p.name == profile.name) p.options = profile.options;
        if (!OpensTable(lines, old->line, profile.name)) return WholeFile(expected);
        const auto [begin, end] = TableLines(lines, old->line);
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(begin), lines.begin() + static_cast<std::ptrdiff_t>(end));
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(begin), table.begin(), table.end());
        return EditedOrWhole(JoinLines(lines), expected);
    }
    expected.profiles.push_back(profile);
    if (!lines.empty() && !Trimmed(lines.back()).empty()) lines.emplace_back("\n");
    lines.insert(lines.end(), table.begin(), table.end());
    return EditedOrWhole(JoinLines(lines), expected);
}

std::string WithoutProfile(std::string_view text, std::string_view name) {
    std::optional<ProfileFile> file = ReadAgain(text);
    if (!file || !file->Find(name)) return std::string(text);
    std::string edited(text);
    if (file->window_start == name) {
        edited = WithWindowStart(text, {});
        file = ReadAgain(edited);
    }
    std::vector<std::string> lines = SplitLines(edited);
    const Profile* old = file->Find(name);
    ProfileFile expected = *file;
    expected.profiles.erase(expected.profiles.begin() + (old - file->profiles.data()));
    if (!OpensTable(lines, old->line, name)) return WholeFile(expected);
    auto [begin, end] = TableLines(lines, old->line);
    while (end < lines.size() && Trimmed(lines[end]).empty()) ++end;  // and the blank lines after it
    if (end == lines.size())  // or, the last, those that set it apart before it
        while (begin > 0 && Trimmed(lines[begin - 1]).empty()) --begin;
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(begin), lines.begin() + static_cast<std::ptrdiff_t>(end));
    return EditedOrWhole(JoinLines(lines), expected);
}

std::string WithWindowStart(std::string_view text, std::string_view name) {
    std::optional<ProfileFile> file = ReadAgain(text);
    if (!file) return std::string(text);
    std::vector<std::string> lines = SplitLines(text);
    const std::string line = std::string(kWindowStart) + " = " + QuotedText(name) + "\n";
    // Where window-start stands now: the first line that sets it.
    const auto now = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
        const std::string_view t = Trimmed(l);
        return t.starts_with(kWindowStart) && Trimmed(t.substr(kWindowStart.size())).starts_with("=");
    });
    if (now != lines.end() && std::none_of(lines.begin(), now, [](const std::string& l) { return IsTableHeader(l); })) {
        if (name.empty()) lines.erase(now);
        else *now = line;
        return JoinLines(lines);
    }
    if (!file->window_start.empty()) {  // set in a form the program does not edit in place
        file->window_start = name;
        return WholeFile(*file);
    }
    if (name.empty()) return std::string(text);
    // Before the first table or key, after the comments that open the file.
    auto at = std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return !IsBlankOrComment(l); });
    if (at != lines.end()) at = lines.insert(at, "\n");
    lines.insert(at, line);
    return JoinLines(lines);
}

}  // namespace morvane
