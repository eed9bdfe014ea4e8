#include "cli/cli_generator.h"

#include <string.h>

#include "engine/strength.h"
#include "options/generation_choice.h"

namespace morvane {

void CliGenerator::AppendUtf8(std::string& out) {
    if (phrases) return phrases->AppendUtf8(out);
    const size_t start = out.size();
    maker->AppendUtf8(out);
    while (rule && !rule->AcceptsUtf8(std::string_view(out).substr(start))) {
        ::explicit_bzero(out.data() + start, out.size() - start);
        out.resize(start);
        maker->AppendUtf8(out);
    }
}

void CliGenerator::Make(Text& out) {
    if (phrases) return phrases->Make(out);
    do maker->Make(out);
    while (rule && !rule->Accepts(out));
}

std::string BuildGenerator(const CliOptions& options, CliGenerator& g) {
    const GenerationChoice& generation = options.generation;
    const int min_length = options.min_length, max_length = options.max_length;
    const bool variable = !options.fixed;
    if (generation.passphrases) {
        std::string problem;
        const auto words = LoadPassphraseWords(generation, problem);
        if (!words) return problem;
        g.possible = CountPassphrases(*words, generation.passphrase);
        g.phrases.emplace(*words, generation.passphrase);
        g.bits_of = [bits = PassphraseBits(*words, generation.passphrase)](size_t) { return bits; };
        return {};
    }
    switch (BuildPool(options.pool, g.pool)) {
        case PoolOutcome::kBuilt: break;
        case PoolOutcome::kEmptiedByExclusion:
            return "--other-out and --exclude-look-alikes leave no character to choose from";
        case PoolOutcome::kTooLarge:
            return "--other-in gives more than " + std::to_string(kMaxPoolEntries) + " characters";
        case PoolOutcome::kNothingToDrawFrom:
            return "no character to choose from: every character type is turned off";
    }
    g.maker.emplace(g.pool, min_length, max_length, variable);
    if (!generation.each_type) {
        g.possible = OutputCount::Of(MaxPossiblePasswords(CountDistinct(g.pool), min_length, max_length, variable));
        g.bits_of = [per = BitsPerCharacter(g.pool)](size_t length) { return per * static_cast<double>(length); };
        return {};
    }
    g.rule.emplace(options.pool, g.pool);
    if (std::string problem = g.rule->Problem(min_length, max_length, variable); !problem.empty())
        return "--each-type: " + problem;
    g.possible = g.rule->CountOver(min_length, max_length, variable);
    g.bits_of = [&rule = *g.rule](size_t length) { return rule.Bits(static_cast<int>(length)); };
    return {};
}

}  // namespace morvane
