#pragma once
// What morvane-cli makes its output from: the passphrase maker, or the pool's
// password maker with the each-type rule when asked, and how many different
// outputs they can give.
#include <functional>
#include <optional>
#include <string>

#include "cli/cli_options.h"
#include "engine/each_type_rule.h"
#include "engine/passphrase_maker.h"
#include "engine/password_maker.h"

namespace morvane {

struct CliGenerator {
    Pool pool;
    std::optional<PasswordMaker> maker;
    std::optional<EachTypeRule> rule;
    std::optional<PassphraseMaker> phrases;
    OutputCount possible;                   // different outputs in all
    std::function<double(size_t)> bits_of;  // an output's bits by its length

    // Appends one output as UTF-8; a password that misses a chosen type is
    // taken back and drawn again.
    void AppendUtf8(std::string& out);
    // One output as code points.
    void Make(Text& out);
};

// Builds the generator the options ask for. Returns an empty text, or the
// line that refuses them.
std::string BuildGenerator(const CliOptions& options, CliGenerator& generator);

}  // namespace morvane
