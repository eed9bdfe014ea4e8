#pragma once
// The command line of morvane-cli, read the way pwgen and apg users expect:
// short options bundled and with attached values (-n3 -l16 -0), long ones
// with a value after a blank or "=", counts and lengths as whole numbers.
// A profile holds the same options by their long names, and is read by the
// same rules, so that it means in the window what it means on the command
// line.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/generation_settings.h"
#include "options/option_catalogue.h"
#include "output/output_formats.h"

namespace morvane {

// Exit codes, as --help and the manual tell them.
enum ExitCode : int { kExitDone = 0, kExitSystemError = 1, kExitUsage = 2 };

// The longest --clear-after, as the window allows: a day.
inline constexpr int kMostClearAfterSeconds = 24 * 3600;

// One option as a profile keeps it: its long name and its value, empty for a
// flag; a number as a number; the line of the profiles file it stands on, 0
// when it stands in none.
struct ProfileOption {
    std::string name;
    std::string value;
    int line = 0;
    std::optional<int64_t> number = std::nullopt;
    // The value as a message or the file shows it.
    std::string Shown() const { return number ? std::to_string(*number) : value; }
};
using ProfileOptions = std::vector<ProfileOption>;

// A profile's options by its name, or none with `problem` saying why.
using ProfileFinder = std::function<std::optional<ProfileOptions>(const std::string& name, std::string& problem)>;

struct CliOptions {
    GenerationSettings settings;  // what to make
    OutputFormat format = OutputFormat::kText;
    bool crlf = false;
    bool null_terminated = false;  // each password ends with NUL instead of a line end
    bool show_strength = false;    // the window's strength line on standard error
    bool copy = false;             // the first password to the clipboard
    std::optional<int> clear_after;  // seconds; none: the window's delay
    // --qr: the first password as a QR code on the terminal; forced: also
    // where standard output is no terminal.
    enum class QrDrawing { kNone, kOnTerminal, kForced };
    QrDrawing qr = QrDrawing::kNone;
    bool qr_text = false;              // --qr-text: the password under its code
    std::optional<std::string> qr_wifi;  // --qr-wifi: the network the code joins
    // --hash METHOD and --hash-cost N: each password's hash beside it.
    std::string hash;
    std::optional<long long> hash_cost;
    // --for-users FILE (- for standard input) and --passwords-to FILE.
    std::string for_users, passwords_to;
    std::string site;         // --site: a domain or URL whose rule to look up
    // The first option given that a site's rule decides instead, as named.
    std::string decided_by_a_rule;
    bool list_sites = false;  // --list-sites
    // Profiles: those used, by --profile; the one to save the options in
    // or to delete; whether to list them all.
    std::vector<std::string> profiles_used;
    std::optional<std::string> save_profile, delete_profile;  // given, even empty
    bool list_profiles = false;
    // What a profile keeps of the options: those given, a profile's as
    // the later options left them, in their order.
    ProfileOptions kept;
    bool help = false;
    bool version = false;
    // The options given that leave characters out, as a refusal names them:
    // "--exclude-look-alikes", "--other-out", both or none.
    std::vector<std::string> exclusions_given;
};

// Reads the arguments after the program's name into `options`. Returns an
// empty text, or one line that says what is wrong, naming the option.
// --profile takes the options of the profile `profiles` finds; options
// given after it override those of the profile that they contradict.
std::string ParseCliOptions(const std::vector<std::string>& args, CliOptions& options,
                            const ProfileFinder& profiles = {});
// Reads a profile's options alone, as the command line would; the problem
// names the option, and `line_of_problem` is set to the line of an option
// whose value is refused.
std::string ParseProfileOptions(const ProfileOptions& profile, CliOptions& options, int* line_of_problem = nullptr);

}  // namespace morvane
