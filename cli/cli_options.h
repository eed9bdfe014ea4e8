#pragma once
// The command line of morvane-cli, read the way pwgen and apg users expect:
// short options bundled and with attached values (-n3 -l16 -0), long ones
// with a value after a blank or "=", counts and lengths as whole numbers.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/generation_settings.h"
#include "output/output_formats.h"

namespace morvane {

// Exit codes, as --help and the manual tell them.
enum ExitCode : int { kExitDone = 0, kExitSystemError = 1, kExitUsage = 2 };

struct CliOptions {
    GenerationSettings settings;  // what to make
    OutputFormat format = OutputFormat::kText;
    bool crlf = false;
    bool null_terminated = false;  // each password ends with NUL instead of a line end
    bool show_strength = false;    // the window's strength line on standard error
    std::string site;         // --site: a domain or URL whose rule to look up
    // The first option given that a site's rule decides instead, as named.
    std::string decided_by_a_rule;
    bool list_sites = false;  // --list-sites
    bool help = false;
    bool version = false;
    // The options given that the pool is narrowed by, as they are named in
    // a refusal: "--exclude-look-alikes", "--other-out", both or none.
    std::string exclusions_given;
};

// Reads the arguments after the program's name into `options`. Returns an
// empty text, or one line that says what is wrong, naming the option.
std::string ParseCliOptions(const std::vector<std::string>& args, CliOptions& options);

extern const char* const kCliUsage;

}  // namespace morvane
