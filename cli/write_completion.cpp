// Writes morvane-cli's bash completion, made from its options, for the build
// to install.
#include <cstdio>

#include "cli/password_hash.h"
#include "options/option_catalogue.h"

int main() {
    const std::string script = morvane::BashCompletion(morvane::HashMethodList());
    return std::fwrite(script.data(), 1, script.size(), stdout) == script.size() && std::fflush(stdout) == 0 ? 0 : 1;
}
