#pragma once
// The command line of morvane-cli, read the way pwgen and apg users expect:
// short options bundled and with attached values (-n3 -l16 -0), long ones
// with a value after a blank or "=", counts and lengths as whole numbers.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/character_pool.h"
#include "options/generation_choice.h"

namespace morvane {

enum class OutputFormat { kText, kNdjson };

// Exit codes, as --help and the manual tell them.
enum ExitCode : int { kExitDone = 0, kExitSystemError = 1, kExitUsage = 2 };

struct CliOptions {
    int32_t count = 10;
    int min_length = 6, max_length = 8;
    bool fixed = false;  // every password is max_length long
    PoolChoice pool;     // what the pool is built from
    bool unique = false;
    bool html = false;
    bool crlf = false;
    bool null_terminated = false;  // each password ends with NUL instead of a line end
    OutputFormat format = OutputFormat::kText;
    GenerationChoice generation;  // passphrases, or the each-type rule
    bool show_strength = false;   // the window's strength line on standard error
    bool help = false;
    bool version = false;
};

inline constexpr int kShortestLength = 4;
inline constexpr int kLongestLength = 128;

// Reads the arguments after the program's name into `options`. Returns an
// empty text, or one line that says what is wrong, naming the option.
std::string ParseCliOptions(const std::vector<std::string>& args, CliOptions& options);

extern const char* const kCliUsage;

}  // namespace morvane
