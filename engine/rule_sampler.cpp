#include "engine/rule_sampler.h"

#include <string.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <stdexcept>

#include "engine/rand.h"
#include "engine/rule_states.h"

namespace morvane {
namespace {

// ceil(2^32 / n): for d below n * 128, d * it / 2^32 rounds down to d / n.
constexpr auto kReciprocals = [] {
    std::array<uint64_t, 129> reciprocals{};
    for (uint64_t n = 1; n < reciprocals.size(); ++n) reciprocals[n] = ((uint64_t{1} << 32) + n - 1) / n;
    return reciprocals;
}();

// Beyond this many compositions the sampler draws whole passwords instead.
constexpr double kMostCompositions = 1 << 16;
// And beyond this many spans of their digits, kept for all of them.
constexpr double kMostPlannedSpans = 1 << 21;

double ApproximateBinomial(int n, int k) {
    return std::exp(std::lgamma(n + 1.0) - std::lgamma(k + 1.0) - std::lgamma(n - k + 1.0));
}

// The next 64 bits of the binary fraction remainder / total, the remainder
// carried on.
uint64_t NextFractionWord(BigCount& remainder, const BigCount& total) {
    uint64_t word = 0;
    for (int bit = 0; bit < 64; ++bit) {
        remainder += remainder;
        word <<= 1;
        if (remainder >= total) {
            remainder -= total;
            word |= 1;
        }
    }
    return word;
}

}  // namespace

RuleDrawingPlan PlanRuleDrawing(const PasswordRule& rule, int length, const BigCount& kept, RuleDrawing drawing) {
    const std::vector<LinesGroup> groups = GroupByLines(rule);
    size_t characters = 0;
    for (const LinesGroup& group : groups) characters += group.characters.size();
    // Whether at least one in kLeastAcceptance of `drawn` keeps the rule.
    const auto often_kept = [&](const BigCount& drawn) {
        return !(kept * RuleSampler::kLeastAcceptance < drawn);
    };
    RuleDrawingPlan plan;
    const int g = static_cast<int>(groups.size());
    const double most = std::min(kMostCompositions, kMostPlannedSpans / (2.0 * length));
    if (drawing == RuleDrawing::kBest && ApproximateBinomial(length + g - 1, g - 1) <= most) {
        plan.way = RuleDrawingPlan::kComposed;
        if (!HasRunLimits(rule)) return plan;
        PasswordRule without_runs = rule;
        without_runs.max_repeating = without_runs.max_sequential = 0;
        if (often_kept(CountRulePasswords(without_runs, length))) return plan;
    } else if (drawing != RuleDrawing::kByPosition) {
        plan.way = RuleDrawingPlan::kWhole;
        BigCount every(1);
        for (int i = 0; i < length; ++i) every = every * static_cast<uint32_t>(characters);
        if (drawing == RuleDrawing::kWholePasswords || often_kept(every)) return plan;
    }
    plan.way = RuleDrawingPlan::kByPosition;
    RuleStates states(rule);
    const size_t row_bytes = static_cast<size_t>(states.runs()) * sizeof(WideCount) * (static_cast<size_t>(length) + 1);
    plan.table_bytes = states.MeetAllLines(kMostTableBytes / row_bytes) * row_bytes;
    return plan;
}

namespace {

std::string PlanProblem(const RuleDrawingPlan& plan, int length) {
    if (plan.table_bytes <= kMostTableBytes) return {};
    return "the rule is too intricate to draw from at length " + std::to_string(length) +
           ": so few passwords keep it that each character must be drawn from counts that would take more than " +
           std::to_string(kMostTableBytes >> 20) + " MiB";
}

}  // namespace

std::string RuleDrawingProblem(const PasswordRule& rule, int length, const BigCount& kept) {
    return PlanProblem(PlanRuleDrawing(rule, length, kept, RuleDrawing::kBest), length);
}

RuleSampler::RuleSampler(const PasswordRule& rule, int length, RuleDrawing drawing, const BigCount* count)
    : rule_(rule), length_(length) {
    if (rule.required.size() > static_cast<size_t>(kMostRequiredLines))
        throw std::invalid_argument("too many required lines");
    groups_ = GroupByLines(rule);
    for (const LinesGroup& group : groups_) alphabet_ += group.characters;
    std::sort(alphabet_.begin(), alphabet_.end());
    if (alphabet_.empty() || length < 1) throw std::invalid_argument("no character to draw from");
    const BigCount kept = count ? *count : CountRulePasswords(rule, length);
    if (kept.IsZero()) throw std::invalid_argument("no password keeps the rule");
    const RuleDrawingPlan plan = PlanRuleDrawing(rule, length, kept, drawing);
    if (plan.way == RuleDrawingPlan::kByPosition) {
        if (std::string problem = PlanProblem(plan, length); !problem.empty()) throw std::invalid_argument(problem);
        tables_ = std::make_unique<RuleTables>(rule_, length_, kMostTableBytes);
    }
    if (plan.way == RuleDrawingPlan::kComposed) {
        std::vector<uint8_t> counts(groups_.size(), 0);
        ListCompositions(counts, 0, length);
        // Each composition's share starts where the ones before it end.
        BigCount prefix;
        for (const BigCount& weight : weights_) {
            prefixes_.push_back(prefix);
            prefix += weight;
        }
        total_ = prefix;
        for (const BigCount& start : prefixes_) {
            BigCount remainder = start;
            boundaries_.push_back(NextFractionWord(remainder, total_));
        }
        weights_.clear();
        weights_.shrink_to_fit();
        PlanCompositions();
        // Which composition each value of a word's first bits picks, where
        // no boundary falls within that value's range.
        first_bits_pick_.resize(size_t{1} << kFirstBits);
        for (uint64_t t = 0; t < first_bits_pick_.size(); ++t) {
            const uint64_t start = t << (64 - kFirstBits), end = start | ((uint64_t{1} << (64 - kFirstBits)) - 1);
            const size_t last =
                static_cast<size_t>(std::upper_bound(boundaries_.begin(), boundaries_.end(), end) - boundaries_.begin()) - 1;
            first_bits_pick_[t] = boundaries_[last] >= start ? kBoundaryWithin : static_cast<uint32_t>(last);
        }
    }
    digits_.resize(3 * static_cast<size_t>(length) + 2);  // the digits, then their pairs
    chunks_.resize(2 * static_cast<size_t>(length) + 1);
}

// For each composition, the spans of its digits: each character within its
// group, the groups but the largest first, then the places those first
// characters are swapped with (a shuffle of them alone is enough, the
// largest group's characters being alike in law). And how the spans share
// words when the first word is what a pick leaves unread.
void RuleSampler::PlanCompositions() {
    const size_t g = groups_.size(), count = boundaries_.size();
    group_characters_.assign(g << 7, '\0');
    for (size_t group = 0; group < g; ++group)
        groups_[group].characters.copy(group_characters_.data() + (group << 7), 128);
    plans_.resize(count);
    slot_groups_.resize(count * static_cast<size_t>(length_));
    std::vector<DigitChunk> chunks(2 * static_cast<size_t>(length_) + 1);
    for (size_t c = 0; c < count; ++c) {
        const uint8_t* counts = compositions_.data() + c * g;
        const size_t largest = static_cast<size_t>(std::max_element(counts, counts + g) - counts);
        CompositionPlan& plan = plans_[c];
        plan.spans_at = static_cast<uint32_t>(plan_spans_.size());
        uint8_t* slots = slot_groups_.data() + c * static_cast<size_t>(length_);
        for (size_t pass = 0; pass < 2; ++pass)
            for (size_t group = 0; group < g; ++group) {
                if ((group == largest) != (pass == 1)) continue;
                for (int k = 0; k < counts[group]; ++k) {
                    plan_spans_.push_back(static_cast<uint32_t>(groups_[group].characters.size()));
                    *slots++ = static_cast<uint8_t>(group);
                }
            }
        plan.placed = static_cast<uint16_t>(length_ - counts[largest]);
        for (int j = 0; j < plan.placed; ++j) plan_spans_.push_back(static_cast<uint32_t>(length_ - j));
        plan.span_count = static_cast<uint16_t>(plan_spans_.size() - plan.spans_at);
        // Two digits drawn as one below the product of their spans halve the
        // chain of multiplications; they are told apart again by a multiply.
        plan.pairs_at = static_cast<uint32_t>(plan_pairs_.size());
        for (size_t i = plan.spans_at; i < plan_spans_.size(); i += 2)
            plan_pairs_.push_back(plan_spans_[i] * (i + 1 < plan_spans_.size() ? plan_spans_[i + 1] : 1));
        plan.pair_count = static_cast<uint16_t>(plan_pairs_.size() - plan.pairs_at);
        plan.chunks_at = static_cast<uint32_t>(plan_chunks_.size());
        const size_t made = PlanDigits(plan_pairs_.data() + plan.pairs_at, plan.pair_count, 64 - kFirstBits, chunks.data());
        plan_chunks_.insert(plan_chunks_.end(), chunks.begin(), chunks.begin() + static_cast<ptrdiff_t>(made));
        plan.chunk_count = static_cast<uint16_t>(made);
    }
}

RuleSampler::~RuleSampler() = default;

// Every way to share the positions among the groups that gives each
// required line a position of its own, with its number of passwords: the
// ways to place the groups, times the characters within them.
void RuleSampler::ListCompositions(std::vector<uint8_t>& counts, size_t group, int left) {
    if (group + 1 == groups_.size()) {
        counts[group] = static_cast<uint8_t>(left);
        std::vector<ServedLines> served;
        for (size_t i = 0; i < groups_.size(); ++i) served.push_back({groups_[i].lines, counts[i]});
        if (!CanMatchLines(served, static_cast<int>(rule_.required.size()))) return;
        BigCount weight(1);
        int free = length_;
        for (size_t i = 0; i < groups_.size(); ++i) {
            weight = weight * Binomial(free, counts[i]);
            free -= counts[i];
            for (int k = 0; k < counts[i]; ++k) weight = weight * static_cast<uint32_t>(groups_[i].characters.size());
        }
        compositions_.insert(compositions_.end(), counts.begin(), counts.end());
        weights_.push_back(std::move(weight));
        return;
    }
    for (int n = 0; n <= left; ++n) {
        counts[group] = static_cast<uint8_t>(n);
        ListCompositions(counts, group + 1, left - n);
    }
}

bool RuleSampler::AtOrAbove(size_t composition, uint64_t first, std::vector<uint64_t>& words,
                            const std::function<uint64_t()>& more) const {
    BigCount remainder = prefixes_[composition];
    for (size_t k = 0;; ++k) {
        const uint64_t boundary = NextFractionWord(remainder, total_);
        if (k >= 1 && k - 1 == words.size()) words.push_back(more());
        const uint64_t drawn = k == 0 ? first : words[k - 1];
        if (drawn != boundary) return drawn > boundary;
        if (remainder.IsZero()) return true;  // the boundary itself belongs to the interval above it
    }
}

size_t RuleSampler::PickComposition(uint64_t first, const std::function<uint64_t()>& more) const {
    // The last composition whose boundary is not above the word.
    const auto after = std::upper_bound(boundaries_.begin(), boundaries_.end(), first);
    size_t pick = static_cast<size_t>(after - boundaries_.begin()) - 1;
    if (boundaries_[pick] != first) return pick;  // the word lies inside the interval
    // The word's interval holds a boundary: its further words decide.
    const size_t lowest = static_cast<size_t>(std::lower_bound(boundaries_.begin(), boundaries_.end(), first) -
                                              boundaries_.begin());
    std::vector<uint64_t> words;
    for (; pick > lowest; --pick)
        if (AtOrAbove(pick, first, words, more)) break;
    if (pick == lowest && !AtOrAbove(pick, first, words, more)) --pick;
    ::explicit_bzero(words.data(), words.size() * sizeof(uint64_t));
    return pick;
}

void RuleSampler::DrawComposed(char* out) {
    const uint64_t first = DrawWord();
    DrawComposedFrom(first, first_bits_pick_[first >> (64 - kFirstBits)], out);
}

void RuleSampler::DrawComposedFrom(uint64_t first, uint32_t pick, char* out) {
    // The composition: most often the first bits of a word already decide
    // it, and the bits not looked at serve for the first digits.
    const CompositionPlan* plan = &plans_[pick == kBoundaryWithin ? 0 : pick];
    const DigitChunk* chunks = plan_chunks_.data() + plan->chunks_at;
    size_t chunk_count = plan->chunk_count;
    if (pick == kBoundaryWithin) {  // a boundary within the first bits' range: the whole word decides
        pick = static_cast<uint32_t>(PickComposition(first, DrawWord));
        plan = &plans_[pick];
        chunk_count = PlanDigits(plan_pairs_.data() + plan->pairs_at, plan->pair_count, 64, chunks_.data());
        chunks = chunks_.data();
    }
    uint32_t* pairs = digits_.data() + 2 * static_cast<size_t>(length_);
    DrawPlannedDigits(plan_pairs_.data() + plan->pairs_at, pairs, chunks, chunk_count, first);
    const uint32_t* spans = plan_spans_.data() + plan->spans_at;
    for (size_t p = 0; p < plan->pair_count; ++p) {
        const uint32_t second = 2 * p + 1 < plan->span_count ? spans[2 * p + 1] : 1;
        const auto high = static_cast<uint32_t>(uint64_t{pairs[p]} * kReciprocals[second] >> 32);
        digits_[2 * p] = high;
        digits_[2 * p + 1] = pairs[p] - high * second;
    }
    const uint8_t* slots = slot_groups_.data() + pick * static_cast<size_t>(length_);
    const char* characters = group_characters_.data();
    for (int j = 0; j < length_; ++j) out[j] = characters[size_t{slots[j]} << 7 | digits_[static_cast<size_t>(j)]];
    // The first characters swapped each with one at or after its place: the
    // groups take every arrangement equally often.
    const uint32_t* places = digits_.data() + length_;
    for (int j = 0; j < plan->placed; ++j) std::swap(out[j], out[j + places[j]]);
}

void RuleSampler::DrawWhole(char* out) {
    DrawManyBelow(static_cast<uint32_t>(alphabet_.size()), digits_.data(), static_cast<size_t>(length_));
    for (int i = 0; i < length_; ++i) out[i] = alphabet_[digits_[static_cast<size_t>(i)]];
}

void RuleSampler::AppendTo(std::string& out) {
    const size_t start = out.size();
    out.resize(start + static_cast<size_t>(length_));
    char* password = out.data() + start;
    const std::string_view drawn(password, static_cast<size_t>(length_));
    if (tables_) {
        tables_->Draw(password);
    } else if (DrawsCompositions()) {
        DrawComposed(password);
        while (HasRunLimits(rule_) && !KeepsRuns(rule_, drawn)) DrawComposed(password);
    } else {
        do DrawWhole(password);
        while (!KeepsRule(rule_, drawn));
    }
    // The digits would tell the password: none is kept past its drawing.
    ::explicit_bzero(digits_.data(), digits_.size() * sizeof(uint32_t));
}

void RuleSampler::AppendLines(std::string& out, int count, std::string_view line_end, size_t* ends) {
    if (!DrawsCompositions() || HasRunLimits(rule_) || count > kLinesAtOnce) {
        for (int i = 0; i < count; ++i) {
            AppendTo(out);
            if (ends) ends[i] = out.size();
            out += line_end;
        }
        return;
    }
    // The first words of all the lines are drawn together and the tables
    // they pick from asked for at once, so that the lines wait for memory
    // together rather than one after the other.
    uint64_t firsts[kLinesAtOnce];
    uint32_t picks[kLinesAtOnce];
    for (int i = 0; i < count; ++i) {
        firsts[i] = DrawWord();
        picks[i] = first_bits_pick_[firsts[i] >> (64 - kFirstBits)];
    }
    for (int i = 0; i < count; ++i) {
        if (picks[i] == kBoundaryWithin) continue;
        __builtin_prefetch(&plans_[picks[i]]);
        __builtin_prefetch(slot_groups_.data() + picks[i] * static_cast<size_t>(length_));
    }
    const size_t step = static_cast<size_t>(length_) + line_end.size();
    size_t at = out.size();
    out.resize(at + step * static_cast<size_t>(count));
    for (int i = 0; i < count; ++i, at += step) {
        DrawComposedFrom(firsts[i], picks[i], out.data() + at);
        line_end.copy(out.data() + at + static_cast<size_t>(length_), line_end.size());
        if (ends) ends[i] = at + static_cast<size_t>(length_);
    }
    // The words and the digits would tell the passwords: none is kept.
    ::explicit_bzero(firsts, sizeof firsts);
    ::explicit_bzero(picks, sizeof picks);
    ::explicit_bzero(digits_.data(), digits_.size() * sizeof(uint32_t));
}

std::string RuleSampler::Draw() {
    std::string password;
    AppendTo(password);
    return password;
}

}  // namespace morvane
