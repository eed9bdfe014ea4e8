#pragma once
// Passwords of one length that keep a Password Rule, each exactly as likely
// as any other. Without limits on runs, which passwords keep the rule depends
// only on how many characters of each group (the required lines a character
// serves) they hold. So the sampler draws such a composition with its exact
// share of all passwords, then the characters of each group, then a uniform
// order of them all; a rule with limits on runs draws again while a run
// breaks them. Where compositions are too many to list, whole passwords are
// drawn from the allowed characters until one keeps the rule. Either way of
// drawing again serves only where at least one draw in kLeastAcceptance
// keeps the rule; elsewhere each character is drawn with the exact share of
// the passwords that can follow it, which takes a bounded time whatever the
// rule.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/password_rule.h"
#include "engine/rand.h"
#include "engine/rule_count.h"

namespace morvane {

// How passwords are drawn: the quickest that is bounded; or, for checking,
// whole in any case, or character by character in any case.
enum class RuleDrawing { kBest, kWholePasswords, kByPosition };

class RuleTables;

// The way a rule's passwords of one length are drawn, and for drawing by
// position, what its counts take.
struct RuleDrawingPlan {
    enum Way { kComposed, kWhole, kByPosition } way = kComposed;
    size_t table_bytes = 0;
};
// The most memory the counts for drawing character by character may take.
inline constexpr size_t kMostTableBytes = size_t{256} << 20;
RuleDrawingPlan PlanRuleDrawing(const PasswordRule& rule, int length, const BigCount& kept, RuleDrawing drawing);
// Why passwords of this length cannot be drawn in bounded time and memory,
// or nothing.
std::string RuleDrawingProblem(const PasswordRule& rule, int length, const BigCount& kept);

class RuleSampler {
public:
    // Throws std::invalid_argument when no password of this length keeps the rule.
    // `count`, when given, is the rule's count at this length, known already.
    RuleSampler(const PasswordRule& rule, int length, RuleDrawing drawing = RuleDrawing::kBest,
                const BigCount* count = nullptr);
    RuleSampler(const RuleSampler&) = delete;
    RuleSampler& operator=(const RuleSampler&) = delete;
    ~RuleSampler();

    // Appends one password, as ASCII.
    void AppendTo(std::string& out);
    // Appends `count` (at most kLinesAtOnce) passwords, each with `line_end`
    // behind it; `ends`, when given, receives where each ends.
    static constexpr int kLinesAtOnce = 64;
    void AppendLines(std::string& out, int count, std::string_view line_end, size_t* ends);
    std::string Draw();

    int length() const { return length_; }
    bool DrawsCompositions() const { return !compositions_.empty(); }
    bool DrawsByPosition() const { return tables_ != nullptr; }
    // Draws again serve while at least one in this many keeps the rule.
    static constexpr uint32_t kLeastAcceptance = 8;

    // A composition's interval of the unit interval starts at
    // prefix / total; its first 64 bits are the boundary that a drawn word is
    // compared with. Picks the composition for the word `first`, drawing
    // further words from `more` only when the word falls on a boundary.
    size_t PickComposition(uint64_t first, const std::function<uint64_t()>& more) const;
    size_t compositions() const { return boundaries_.size(); }
    // The first 64 bits of where a composition's interval starts.
    uint64_t boundary(size_t composition) const { return boundaries_[composition]; }

private:
    void ListCompositions(std::vector<uint8_t>& counts, size_t group, int left);
    void PlanCompositions();
    void DrawComposed(char* out);
    void DrawComposedFrom(uint64_t first, uint32_t pick, char* out);
    void DrawWhole(char* out);
    // Whether u >= prefix / total, for u the fraction of the words drawn.
    bool AtOrAbove(size_t composition, uint64_t first, std::vector<uint64_t>& words,
                   const std::function<uint64_t()>& more) const;

    PasswordRule rule_;
    int length_;
    std::unique_ptr<RuleTables> tables_;
    std::string alphabet_;
    std::vector<LinesGroup> groups_;
    // Compositions: counts per group, flat; boundaries and exact prefixes.
    std::vector<uint8_t> compositions_;
    std::vector<uint64_t> boundaries_;
    std::vector<BigCount> prefixes_;
    std::vector<BigCount> weights_;  // while listing
    BigCount total_;                 // of all compositions, runs not limited
    // The composition each value of a word's first bits picks.
    static constexpr int kFirstBits = 16;
    static constexpr uint32_t kBoundaryWithin = UINT32_MAX;
    std::vector<uint32_t> first_bits_pick_;
    struct CompositionPlan {
        uint32_t spans_at = 0, pairs_at = 0, chunks_at = 0;
        uint16_t span_count = 0, pair_count = 0, chunk_count = 0;
        uint16_t placed = 0;  // characters swapped into their places
    };
    std::vector<CompositionPlan> plans_;
    std::vector<uint32_t> plan_spans_, plan_pairs_;
    std::vector<uint8_t> slot_groups_;  // the group of each digit's character
    std::string group_characters_;      // 128 a group
    std::vector<DigitChunk> plan_chunks_;
    std::vector<DigitChunk> chunks_;    // a plan made while drawing
    std::vector<uint32_t> digits_;

};

}  // namespace morvane
