#include "engine/rule_states.h"

#include <string.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>

namespace morvane {
namespace {

// The group a character steps within: a-z, A-Z, 0-9, or none.
int StepGroup(int c) {
    if (c >= 'a' && c <= 'z') return 1;
    if (c >= 'A' && c <= 'Z') return 2;
    if (c >= '0' && c <= '9') return 3;
    return 0;
}

}  // namespace

uint32_t LinesServedBy(const PasswordRule& rule, int c) {
    uint32_t mask = 0;
    for (size_t line = 0; line < rule.required.size(); ++line)
        if (rule.required[line].test(static_cast<size_t>(c))) mask |= 1u << line;
    return mask;
}

bool ExtendRuns(const PasswordRule& rule, const Runs& before, int c, Runs& after) {
    after.last = c;
    after.repeating = before.last == c ? before.repeating + 1 : 1;
    const int step = c - before.last;
    const bool steps = before.last >= 0 && (step == 1 || step == -1) && StepGroup(c) != 0 &&
                       StepGroup(c) == StepGroup(before.last);
    if (steps && (before.direction == step || before.sequential == 1)) {
        after.sequential = before.sequential + 1;
        after.direction = step;
    } else if (steps) {
        after.sequential = 2;
        after.direction = step;
    } else {
        after.sequential = 1;
        after.direction = 0;
    }
    if (rule.max_repeating && after.repeating > rule.max_repeating) return false;
    if (rule.max_sequential && after.sequential > rule.max_sequential) return false;
    // Only what the limits look at is kept, so that like states meet.
    if (!rule.max_repeating && !rule.max_sequential) after = Runs{};
    if (!rule.max_repeating) after.repeating = 0;
    if (!rule.max_sequential) after.sequential = after.direction = 0;
    return true;
}

RuleStates::RuleStates(const PasswordRule& rule) : lines_(static_cast<int>(rule.required.size())) {
    if (lines_ > kMostRequiredLines) throw std::length_error("too many required lines");
    for (int c = 0; c < 128; ++c)
        if (rule.allowed.test(static_cast<size_t>(c))) alphabet_ += static_cast<char>(c);
    const int n = characters();
    for (char c : alphabet_) {
        const uint32_t mask = LinesServedBy(rule, c);
        auto found = std::find(masks_.begin(), masks_.end(), mask);
        if (found == masks_.end()) found = masks_.insert(masks_.end(), mask);
        mask_index_.push_back(static_cast<int>(found - masks_.begin()));
    }
    // Every runs state the characters reach from the start, and its moves.
    runs_.push_back(Runs{});
    for (size_t r = 0; r < runs_.size(); ++r) {
        runs_after_.resize(runs_.size() * static_cast<size_t>(n), -1);
        for (int i = 0; i < n; ++i) {
            Runs after;
            if (!ExtendRuns(rule, runs_[r], static_cast<unsigned char>(alphabet_[static_cast<size_t>(i)]), after))
                continue;
            auto found = std::find(runs_.begin(), runs_.end(), after);
            if (found == runs_.end()) found = runs_.insert(runs_.end(), after);
            runs_after_[r * static_cast<size_t>(n) + static_cast<size_t>(i)] = static_cast<int>(found - runs_.begin());
        }
    }
    runs_after_.resize(runs_.size() * static_cast<size_t>(n), -1);
    for (int i = 0; i < n; ++i) fresh_.push_back(RunsAfter(0, i));
    neighbours_.resize(runs_.size());
    for (size_t r = 0; r < runs_.size(); ++r)
        for (int i = 0; i < n; ++i)
            if (RunsAfter(static_cast<int>(r), i) != fresh_[static_cast<size_t>(i)])
                neighbours_[r].push_back(i);

    const size_t all = size_t{1} << lines_;
    for (int line = 0; line < lines_; ++line)
        for (size_t set = 0; set < all; ++set)
            if (!(set >> line & 1)) without_line_[line].set(set);
    Families start;
    start.set(0);
    Intern(start);
}

int RuleStates::Intern(const Families& families) {
    const size_t full = (size_t{1} << lines_) - 1;
    const bool complete = families.test(full);
    Families key;
    if (complete) key.set(full);  // all that can still happen has happened
    else key = families;
    auto [found, added] = family_ids_.try_emplace(key, static_cast<int>(families_.size()));
    if (added) {
        families_.push_back(key);
        lines_after_.resize(families_.size() * masks_.size(), -1);
        if (complete) complete_ = found->second;
    }
    return found->second;
}

int RuleStates::LinesAfter(int lines, int character) {
    return LinesAfterMask(lines, mask_index_[static_cast<size_t>(character)]);
}

int RuleStates::LinesAfterMask(int lines, int mask_index) {
    const size_t mask = static_cast<size_t>(mask_index);
    const size_t at = static_cast<size_t>(lines) * masks_.size() + mask;
    if (lines_after_[at] >= 0) return lines_after_[at];
    // Each set that misses a line of the character's grows by that line.
    const Families before = families_[static_cast<size_t>(lines)];
    Families grown = before;
    for (int line = 0; line < lines_; ++line)
        if (masks_[mask] >> line & 1) grown |= (before & without_line_[line]) << (size_t{1} << line);
    const int next = Intern(grown);
    lines_after_[static_cast<size_t>(lines) * masks_.size() + mask] = next;
    return next;
}

size_t RuleStates::MeetAllLines(size_t most) {
    std::vector<bool> met(1, true);
    std::vector<int> waiting{0};
    size_t seen = 1;
    while (!waiting.empty() && seen <= most) {
        const int lines = waiting.back();
        waiting.pop_back();
        for (int mask = 0; mask < masks(); ++mask) {
            const size_t after = static_cast<size_t>(LinesAfterMask(lines, mask));
            if (after >= met.size()) met.resize(after + 1, false);
            if (met[after]) continue;
            met[after] = true;
            ++seen;
            waiting.push_back(static_cast<int>(after));
        }
    }
    return seen;
}

std::string TooIntricateToCount(const PasswordRule& rule) {
    RuleStates states(rule);
    const size_t runs = static_cast<size_t>(states.runs());
    const size_t lines = states.MeetAllLines(kMostCountedStates / runs);
    if (lines * runs <= kMostCountedStates) return {};
    return "the rule is too intricate to count: its " + std::to_string(rule.required.size()) +
           " required lines with its limits on runs make more than " + std::to_string(kMostCountedStates) +
           " states (fewer or simpler required lines, or no max-consecutive, will do)";
}

int WidthFor(int length, int characters) {
    const double bits = length * std::log2(std::max(characters, 2)) + 2;
    return std::min(kWideLimbs, static_cast<int>(bits / 64) + 1);
}

namespace {

// The lines states met at each position from the start, with each one's
// row; `states` learns the moves on the way.
void LinesStatesByPosition(RuleStates& states, int length, std::vector<std::vector<int>>& present,
                           std::vector<std::vector<int>>& index_of) {
    present.assign(static_cast<size_t>(length) + 1, {});
    present[0] = {0};
    std::vector<bool> met;
    for (int position = 0; position < length; ++position) {
        std::vector<int>& next = present[static_cast<size_t>(position) + 1];
        met.assign(met.size(), false);
        for (int lines : present[static_cast<size_t>(position)])
            for (int mask = 0; mask < states.masks(); ++mask) {
                const int after = states.LinesAfterMask(lines, mask);
                if (static_cast<size_t>(after) >= met.size()) met.resize(static_cast<size_t>(after) + 1, false);
                if (!met[static_cast<size_t>(after)]) next.push_back(after);
                met[static_cast<size_t>(after)] = true;
            }
        std::sort(next.begin(), next.end());
    }
    index_of.assign(present.size(), std::vector<int>(static_cast<size_t>(states.lines_states()), -1));
    for (size_t position = 0; position < present.size(); ++position)
        for (size_t row = 0; row < present[position].size(); ++row)
            index_of[position][static_cast<size_t>(present[position][row])] = static_cast<int>(row);
}

}  // namespace

std::vector<BigCount> CountByStates(const PasswordRule& rule, int longest) {
    RuleStates states(rule);
    if (states.MeetAllLines(kMostCountedStates) * static_cast<size_t>(states.runs()) > kMostCountedStates)
        throw std::length_error("too intricate to count");
    std::vector<std::vector<int>> present, index_of;
    LinesStatesByPosition(states, longest, present, index_of);
    const int n = states.characters();
    const size_t runs = static_cast<size_t>(states.runs());
    std::vector<WideCount> counts(runs), next;
    counts[0] = WideCount::One();
    std::vector<BigCount> totals;
    const auto total_at = [&](int position) {
        WideCount total;
        const std::vector<int>& rows = present[static_cast<size_t>(position)];
        for (size_t row = 0; row < rows.size(); ++row)
            if (states.Complete(rows[row]))
                for (size_t r = 0; r < runs; ++r) total.Add(counts[row * runs + r]);
        totals.push_back(total.ToBig());
    };
    total_at(0);
    for (int position = 0; position < longest; ++position) {
        const std::vector<int>& rows = present[static_cast<size_t>(position)];
        const std::vector<int>& next_row = index_of[static_cast<size_t>(position) + 1];
        const int width = WidthFor(position + 1, n);
        next.assign(present[static_cast<size_t>(position) + 1].size() * runs, WideCount{});
        for (size_t row = 0; row < rows.size(); ++row) {
            // Every character after every password so far, as if it began
            // new runs; then the few characters that repeat or step from a
            // password's last one move their share to the runs they make.
            WideCount all;
            for (size_t r = 0; r < runs; ++r) all.Add(counts[row * runs + r], width);
            if (all.IsZero()) continue;
            for (int c = 0; c < n; ++c) {
                const size_t to = static_cast<size_t>(next_row[static_cast<size_t>(states.LinesAfter(rows[row], c))]);
                next[to * runs + static_cast<size_t>(states.FreshRuns(c))].Add(all, width);
            }
            for (size_t r = 0; r < runs; ++r) {
                const WideCount& here = counts[row * runs + r];
                if (here.IsZero()) continue;
                for (int c : states.Neighbours(static_cast<int>(r))) {
                    const size_t to = static_cast<size_t>(next_row[static_cast<size_t>(states.LinesAfter(rows[row], c))]);
                    next[to * runs + static_cast<size_t>(states.FreshRuns(c))].Subtract(here, width);
                    const int after = states.RunsAfter(static_cast<int>(r), c);
                    if (after >= 0) next[to * runs + static_cast<size_t>(after)].Add(here, width);
                }
            }
        }
        counts.swap(next);
        total_at(position + 1);
    }
    return totals;
}

RuleTables::RuleTables(const PasswordRule& rule, int length, size_t most_bytes) : states_(rule), length_(length) {
    LinesStatesByPosition(states_, length, present_, index_of_);
    const size_t runs = static_cast<size_t>(states_.runs());
    for (const std::vector<int>& rows : present_) bytes_ += rows.size() * runs * sizeof(WideCount);
    if (bytes_ > most_bytes) return;
    const int n = states_.characters();
    completions_.resize(present_.size());
    std::vector<WideCount>& last = completions_.back();
    last.resize(present_.back().size() * runs);
    for (size_t row = 0; row < present_.back().size(); ++row)
        if (states_.Complete(present_.back()[row]))
            for (size_t r = 0; r < runs; ++r) last[row * runs + r] = WideCount::One();
    for (int position = length - 1; position >= 0; --position) {
        const std::vector<int>& rows = present_[static_cast<size_t>(position)];
        const std::vector<int>& next_row = index_of_[static_cast<size_t>(position) + 1];
        const std::vector<WideCount>& after = completions_[static_cast<size_t>(position) + 1];
        std::vector<WideCount>& here = completions_[static_cast<size_t>(position)];
        here.assign(rows.size() * runs, WideCount{});
        const int width = WidthFor(length - position, n);
        for (size_t row = 0; row < rows.size(); ++row) {
            // What follows any character that begins new runs, the same
            // whatever runs came before; then the neighbours of the last one.
            WideCount fresh;
            for (int c = 0; c < n; ++c) {
                const size_t to = static_cast<size_t>(next_row[static_cast<size_t>(states_.LinesAfter(rows[row], c))]);
                fresh.Add(after[to * runs + static_cast<size_t>(states_.FreshRuns(c))], width);
            }
            for (size_t r = 0; r < runs; ++r) {
                WideCount& count = here[row * runs + r];
                count = fresh;
                for (int c : states_.Neighbours(static_cast<int>(r))) {
                    const size_t to = static_cast<size_t>(next_row[static_cast<size_t>(states_.LinesAfter(rows[row], c))]);
                    count.Subtract(after[to * runs + static_cast<size_t>(states_.FreshRuns(c))], width);
                    const int moved = states_.RunsAfter(static_cast<int>(r), c);
                    if (moved >= 0) count.Add(after[to * runs + static_cast<size_t>(moved)], width);
                }
            }
        }
    }
    ok_ = true;
}

const WideCount& RuleTables::At(int position, int lines, int runs) const {
    const int row = index_of_[static_cast<size_t>(position)][static_cast<size_t>(lines)];
    return completions_[static_cast<size_t>(position)][static_cast<size_t>(row) * static_cast<size_t>(states_.runs()) +
                                                        static_cast<size_t>(runs)];
}

const WideCount& RuleTables::total() const { return At(0, 0, 0); }

void RuleTables::Draw(char* out) {
    if (!ok_) throw std::logic_error("no tables to draw from");
    // A number below all the passwords, exactly uniform. Each character is the
    // one whose share holds it, and what is left of it is uniform below that
    // share, so it serves the next position.
    WideCount left = DrawWideBelow(total());
    int lines = 0, runs = 0;
    for (int position = 0; position < length_; ++position) {
        for (int c = 0; c < states_.characters(); ++c) {
            const int after = states_.RunsAfter(runs, c);
            if (after < 0) continue;
            const int next_lines = states_.LinesAfter(lines, c);
            const WideCount& share = At(position + 1, next_lines, after);
            if (left < share) {
                out[position] = states_.alphabet()[static_cast<size_t>(c)];
                lines = next_lines;
                runs = after;
                break;
            }
            left.Subtract(share);
        }
    }
    ::explicit_bzero(&left, sizeof left);
}

}  // namespace morvane
