#pragma once
// The one generator of passwords and passphrases, for the window and for
// morvane-cli: built from the settings, it holds the pool and the lengths,
// the each-type rule or the passphrase maker, and the outputs of its run
// when each is to be new, and draws again in one place whatever an output
// must keep.
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "engine/character_pool.h"
#include "engine/duplicate_index.h"
#include "engine/each_type_rule.h"
#include "engine/generation_settings.h"
#include "engine/output_count.h"
#include "engine/passphrase_maker.h"
#include "engine/password_maker.h"
#include "engine/rule_choice.h"
#include "engine/rule_count.h"
#include "engine/rule_sampler.h"
#include "engine/wide_count.h"

namespace morvane {

// Why the settings give no run, in the order they are found.
enum class GeneratorRefusal {
    kNone,
    kWordListRefused,     // problem() tells why
    kNothingToDrawFrom,   // no class chosen and no character of one's own
    kPoolTooLarge,        // more than kMaxPoolEntries characters
    kEmptiedByExclusion,  // the exclusions leave no character
    kEachTypeImpossible,  // problem() tells why
    kTooFewPossible,      // each output to be new, and fewer than the count can be made
    kRuleRefused,         // problem() tells why
    kNothingToSay,        // the exclusions empty a set of pronounceable passwords; problem() tells which
};

class Generator {
public:
    explicit Generator(const GenerationSettings& settings);
    Generator(const Generator&) = delete;
    Generator& operator=(const Generator&) = delete;
    ~Generator();

    GeneratorRefusal refusal() const { return refusal_; }
    bool ready() const { return refusal_ == GeneratorRefusal::kNone; }
    // The refusal in words, where the word list or the each-type rule gives them.
    const std::string& problem() const { return problem_; }
    // How many different outputs the settings can give.
    const OutputCount& possible() const { return possible_; }
    const GenerationSettings& settings() const { return settings_; }
    const Pool& pool() const { return pool_; }  // empty for passphrases and site rules
    // The site rule as narrowed, with its lengths; none in the other modes.
    const std::optional<RuleChoice>& rule_choice() const { return site_rule_; }
    size_t word_count() const { return word_count_; }  // in the passphrases' list
    // The entropy of an output of this many characters, in bits.
    double BitsOf(size_t length) const;
    // Characters an output takes at most (a passphrase: about ten a word).
    int LongestOutput() const;

    // Edits made to the options while a run goes on reach what is still to
    // come: new lengths (checked before), and whether outputs must be new.
    void SetLengths(int min_length, int max_length, bool variable_length);
    void SetUnique(bool unique);

    // One output that keeps the rule, not held against the run.
    void Make(Text& out);
    // The run's next output: drawn again while it misses a chosen type or,
    // when each is to be new, was made before. False when so many draws in a
    // row met only outputs made before that no further one is to be found.
    bool Next(Text& out);
    // Up to kLinesAtOnce of the run's next outputs, drawn together and
    // appended as UTF-8, each with `line_end` behind it; `ends`, when given,
    // receives where each output ends in `out`. Those that miss a type or
    // were made before are left out, so it returns how many were appended,
    // or kNoFurther when no further new output is to be found.
    static constexpr int kLinesAtOnce = PasswordMaker::kLinesAtOnce;
    static_assert(RuleSampler::kLinesAtOnce >= kLinesAtOnce);
    static constexpr int kNoFurther = -1;
    int AppendLinesUtf8(std::string& out, int count, std::string_view line_end, size_t* ends = nullptr);

private:
    void Build();
    void BuildSiteRule();
    RuleSampler& SamplerFor(int length);
    void MakeByRule(std::string& out);
    void Refuse(GeneratorRefusal why, std::string problem = {});
    // Keeps the lines from `start` on that the rule and the run accept.
    int KeepAccepted(std::string& out, size_t start, const size_t* made_ends, int count, size_t line_end_size,
                     size_t* ends);

    GenerationSettings settings_;
    GeneratorRefusal refusal_ = GeneratorRefusal::kNone;
    std::string problem_;
    OutputCount possible_;
    Pool pool_;
    double bits_per_character_ = 0;
    double passphrase_bits_ = 0;
    size_t word_count_ = 0;
    std::optional<PasswordMaker> maker_;
    std::optional<EachTypeRule> rule_;
    std::optional<PassphraseMaker> phrases_;
    std::optional<PronounceableMaker> spoken_;
    // Site rules: the rule with its counts, the lengths that have any
    // password, and a sampler for each length once drawn from.
    std::optional<RuleChoice> site_rule_;
    std::vector<int> rule_lengths_;
    std::vector<WideCount> rule_length_ends_;  // the passwords of those lengths and all before them
    std::vector<std::unique_ptr<RuleSampler>> samplers_;  // by length
    DuplicateIndex made_;        // the run's outputs, as keys, while each is to be new
    long long redraws_ = 0;      // lines in a row that met only outputs made before
};

}  // namespace morvane
