#include "engine/generator.h"

#include <string.h>

#include <algorithm>
#include <cstring>

#include "engine/character_codes.h"
#include "engine/rand.h"
#include "engine/strength.h"
#include "engine/word_list_file.h"
#include "platform/base/runtime_error.h"

namespace morvane {

Generator::Generator(const GenerationSettings& settings) : settings_(settings) { Build(); }

Generator::~Generator() = default;

void Generator::Refuse(GeneratorRefusal why, std::string problem) {
    refusal_ = why;
    problem_ = std::move(problem);
    maker_.reset();
    phrases_.reset();
    spoken_.reset();
    site_rule_.reset();
}

void Generator::BuildSiteRule() {
    auto chosen = ChooseRule(settings_);
    if (auto* problem = std::get_if<std::string>(&chosen)) return Refuse(GeneratorRefusal::kRuleRefused, *problem);
    site_rule_ = std::get<RuleChoice>(std::move(chosen));
    BigCount total;
    for (int length = site_rule_->min_length; length <= site_rule_->max_length; ++length) {
        const BigCount& count = site_rule_->counts[static_cast<size_t>(length)];
        if (count.IsZero()) continue;
        rule_lengths_.push_back(length);
        total += count;
        rule_length_ends_.push_back(WideCount::FromBig(total));
    }
    const auto exact = total.ToUint64();
    possible_ = exact && *exact < OutputCount::kMany ? OutputCount::Of(*exact) : OutputCount::FromBits(total.Log2());
}

void Generator::Build() {
    if (settings_.site_rules()) {
        BuildSiteRule();
        if (!ready()) return;
    } else if (settings_.pronounceable()) {
        Text excluded;  // the blanks between them take nothing out: the sets hold none
        if (settings_.look_alikes_out) excluded += kLookAlikes;
        if (settings_.other_out) excluded += settings_.other_out_text;
        SpokenSets sets;
        if (std::string problem = SpokenSetsWithout(excluded, sets); !problem.empty())
            return Refuse(GeneratorRefusal::kNothingToSay, problem);
        spoken_.emplace(std::move(sets), settings_.groups);
        possible_ = spoken_->Count();
    } else if (settings_.passphrases()) {
        std::string problem;
        const auto words = LoadPassphraseWords(settings_, problem);
        if (!words) return Refuse(GeneratorRefusal::kWordListRefused, problem);
        word_count_ = words->size();
        possible_ = CountPassphrases(*words, settings_.passphrase);
        passphrase_bits_ = PassphraseBits(*words, settings_.passphrase);
        phrases_.emplace(*words, settings_.passphrase);
    } else {
        switch (BuildPool(settings_, pool_)) {
            case PoolOutcome::kBuilt: break;
            case PoolOutcome::kNothingToDrawFrom: return Refuse(GeneratorRefusal::kNothingToDrawFrom);
            case PoolOutcome::kTooLarge: return Refuse(GeneratorRefusal::kPoolTooLarge);
            case PoolOutcome::kEmptiedByExclusion: return Refuse(GeneratorRefusal::kEmptiedByExclusion);
        }
        const int shortest = settings_.shortest(), longest = settings_.max_length;
        const bool variable = settings_.variable_length;
        maker_.emplace(pool_, shortest, longest, variable);
        bits_per_character_ = BitsPerCharacter(pool_);
        if (settings_.each_type()) {
            rule_.emplace(settings_, pool_);
            if (std::string problem = rule_->Problem(shortest, longest, variable); !problem.empty())
                return Refuse(GeneratorRefusal::kEachTypeImpossible, problem);
            possible_ = rule_->CountOver(shortest, longest, variable);
        } else {
            possible_ = OutputCount::Of(MaxPossiblePasswords(CountDistinct(pool_), shortest, longest, variable));
        }
    }
    if (settings_.unique && possible_.AsRunCount() < settings_.count)
        return Refuse(GeneratorRefusal::kTooFewPossible);
    if (settings_.unique) made_.Reserve(static_cast<size_t>(settings_.count));
}

double Generator::BitsOf(size_t length) const {
    if (phrases_) return passphrase_bits_;
    if (spoken_) return possible_.bits;
    if (site_rule_) return length < site_rule_->counts.size() ? site_rule_->counts[length].Log2() : 0;
    if (rule_) return rule_->Bits(static_cast<int>(length));
    return bits_per_character_ * static_cast<double>(length);
}

int Generator::LongestOutput() const {
    if (site_rule_) return site_rule_->max_length;
    if (spoken_) return spoken_->Length();
    if (!settings_.passphrases()) return settings_.max_length;
    const PassphraseOptions& p = settings_.passphrase;
    return p.words * (10 + static_cast<int>(p.separator.size())) + p.digits * 2;
}

void Generator::SetLengths(int min_length, int max_length, bool variable_length) {
    if (!maker_) return;
    const int shortest = variable_length ? min_length : max_length;
    if (shortest == settings_.shortest() && max_length == settings_.max_length &&
        variable_length == settings_.variable_length)
        return;
    maker_.emplace(pool_, shortest, max_length, variable_length);
    settings_.min_length = min_length;
    settings_.max_length = max_length;
    settings_.variable_length = variable_length;
}

void Generator::SetUnique(bool unique) { settings_.unique = unique; }

RuleSampler& Generator::SamplerFor(int length) {
    if (samplers_.empty()) samplers_.resize(static_cast<size_t>(site_rule_->max_length) + 1);
    auto& sampler = samplers_[static_cast<size_t>(length)];
    if (!sampler)
        sampler = std::make_unique<RuleSampler>(site_rule_->rule, length, RuleDrawing::kBest,
                                                &site_rule_->counts[static_cast<size_t>(length)]);
    return *sampler;
}

void Generator::MakeByRule(std::string& out) {
    // Each length as often as its passwords among all the rule allows, so
    // that every password of every length is equally likely.
    size_t pick = 0;
    if (rule_lengths_.size() > 1) {
        WideCount drawn = DrawWideBelow(rule_length_ends_.back());
        while (!(drawn < rule_length_ends_[pick])) ++pick;
        ::explicit_bzero(&drawn, sizeof drawn);
    }
    SamplerFor(rule_lengths_[pick]).AppendTo(out);
}

void Generator::Make(Text& out) {
    if (!ready()) throw InvalidCallError();
    if (phrases_) return phrases_->Make(out);
    if (spoken_) return spoken_->Make(out);
    if (site_rule_) {
        std::string drawn;
        MakeByRule(drawn);
        out.assign(drawn.begin(), drawn.end());
        ::explicit_bzero(drawn.data(), drawn.size());
        return;
    }
    do maker_->Make(out);
    while (rule_ && !rule_->Accepts(out));
}

bool Generator::Next(Text& out) {
    for (long long redraws = 0;; ++redraws) {
        Make(out);
        if (!settings_.unique || made_.Insert(out)) return true;
        if (redraws == kMostRedrawsForANewPassword) return false;
    }
}

int Generator::AppendLinesUtf8(std::string& out, int count, std::string_view line_end, size_t* ends) {
    if (!ready() || count < 0 || count > kLinesAtOnce) throw InvalidCallError();
    const size_t start = out.size();
    // Lines that are all kept are written with their ends where the caller
    // wants them, or none.
    const bool filtered = rule_ || settings_.unique;
    size_t made_ends[kLinesAtOnce];
    size_t* written_ends = filtered ? made_ends : ends;
    if (site_rule_ && rule_lengths_.size() == 1) {  // of one length: drawn together
        SamplerFor(rule_lengths_[0]).AppendLines(out, count, line_end, written_ends);
    } else if (site_rule_ || phrases_ || spoken_) {  // made one by one
        for (int i = 0; i < count; ++i) {
            if (site_rule_) MakeByRule(out);
            else if (spoken_) spoken_->AppendUtf8(out);
            else phrases_->AppendUtf8(out);
            if (written_ends) written_ends[i] = out.size();
            out += line_end;
        }
    } else {
        maker_->AppendLinesUtf8(out, count, line_end, written_ends);
    }
    if (!filtered) return count;
    const int kept = KeepAccepted(out, start, made_ends, count, line_end.size(), ends);
    if (!settings_.unique) return kept;
    redraws_ = kept > 0 ? 0 : redraws_ + count;
    return redraws_ > kMostRedrawsForANewPassword ? kNoFurther : kept;
}

int Generator::KeepAccepted(std::string& out, size_t start, const size_t* made_ends, int count,
                            size_t line_end_size, size_t* ends) {
    bool accepted[kLinesAtOnce];
    DuplicateIndex::Key keys[kLinesAtOnce];
    const auto line_start = [&](int i) { return i == 0 ? start : made_ends[i - 1] + line_end_size; };
    for (int i = 0; i < count; ++i) {
        const std::string_view made = std::string_view(out).substr(line_start(i), made_ends[i] - line_start(i));
        accepted[i] = !rule_ || rule_->AcceptsUtf8(made);
        if (!accepted[i] || !settings_.unique) continue;
        // Every slot is asked for before the first is written, so that the
        // table's memory comes in for all of them together.
        keys[i] = DuplicateIndex::KeyOfUtf8(made);
        made_.Prefetch(keys[i]);
    }
    size_t write = start;
    int kept = 0;
    for (int i = 0; i < count; ++i) {
        if (!accepted[i] || (settings_.unique && !made_.InsertKey(keys[i]))) continue;
        const size_t from = line_start(i), line = made_ends[i] + line_end_size - from;
        if (write != from) std::memmove(out.data() + write, out.data() + from, line);
        write += line;
        if (ends) ends[kept] = write - line_end_size;
        ++kept;
    }
    ::explicit_bzero(out.data() + write, out.size() - write);  // the lines left out leave no copy
    out.resize(write);
    return kept;
}

}  // namespace morvane
