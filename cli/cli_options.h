#pragma once
// The command line of morvane-cli: flags to the window's options.
#include <string>
#include <vector>

#include "engine/character_pool.h"
#include "options/option_verdicts.h"

namespace morvane {

struct CliOptions {
    OptionValues values;  // include boxes and number texts, as the window's fields
    PoolChoice pool;      // what the pool is built from
    bool fixed = false;   // every password has the maximum length
    bool unique = false;
    bool html = false;
    bool crlf = false;
    bool help = false;
    bool version = false;
};

// Reads the arguments after the program's name. Returns an empty text, or
// what is wrong with them.
std::string ParseCliOptions(const std::vector<std::string>& args, CliOptions& options);

extern const char* const kCliUsage;

}  // namespace morvane
