#pragma once
// A password read against a Password Rule one character at a time: which
// sets of required lines its characters can serve so far, each line with a
// position of its own, and the runs that end it. Both are numbered as they
// are met and their moves remembered, so that counting and drawing step
// through small tables instead of whole passwords.
#include <bitset>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/password_rule.h"
#include "engine/wide_count.h"

namespace morvane {

// The runs that end a password so far, as far as the rule's limits look.
struct Runs {
    int last = -1;        // the last character, none at the start
    int repeating = 0;    // of the last character
    int sequential = 0;   // of steps of one direction, the last character included
    int direction = 0;    // +1, -1, or 0 while the run is one character
    bool operator==(const Runs&) const = default;
};

// The required lines a character serves, as a bit mask.
uint32_t LinesServedBy(const PasswordRule& rule, int c);

// The runs after `c`, or false when they grow beyond the rule's limits.
bool ExtendRuns(const PasswordRule& rule, const Runs& before, int c, Runs& after);

class RuleStates {
public:
    explicit RuleStates(const PasswordRule& rule);

    // The allowed characters, in ASCII order; characters are named by their
    // index here.
    const std::string& alphabet() const { return alphabet_; }
    int characters() const { return static_cast<int>(alphabet_.size()); }

    // Runs: 0 is the start. The runs after a character, or -1 when the
    // limits refuse it; the runs a character begins when it neither repeats
    // nor steps; the characters after which those two differ.
    int runs() const { return static_cast<int>(runs_.size()); }
    int RunsAfter(int runs, int character) const { return runs_after_[static_cast<size_t>(runs * characters() + character)]; }
    int FreshRuns(int character) const { return fresh_[static_cast<size_t>(character)]; }
    const std::vector<int>& Neighbours(int runs) const { return neighbours_[static_cast<size_t>(runs)]; }

    // Lines: 0 is the start. The state after a character of the given lines
    // (remembered), whether every line has its position.
    int LinesAfter(int lines, int character);
    // The same by the index of the set of lines, of masks() of them.
    int LinesAfterMask(int lines, int mask_index);
    int masks() const { return static_cast<int>(masks_.size()); }
    bool Complete(int lines) const { return lines == complete_; }
    // Meets every lines state the characters can reach, but stops past
    // `most` of them; how many it met.
    size_t MeetAllLines(size_t most);
    int lines_states() const { return static_cast<int>(families_.size()); }

private:
    using Families = std::bitset<size_t{1} << kMostRequiredLines>;
    int Intern(const Families& families);

    int lines_ = 0;
    std::string alphabet_;
    std::vector<int> mask_index_;      // by character
    std::vector<uint32_t> masks_;      // the distinct sets of lines characters serve
    std::vector<Runs> runs_;
    std::vector<int> runs_after_, fresh_;
    std::vector<std::vector<int>> neighbours_;
    // Families of line sets that can be matched, the complete ones as one.
    std::vector<Families> families_;
    std::unordered_map<Families, int> family_ids_;
    std::vector<int> lines_after_;  // by state and mask, -1 until met
    Families without_line_[kMostRequiredLines];
    int complete_ = -1;
};

// Counting keeps a count for each lines state with each runs state: rules
// whose two together make more than this many are refused as too intricate.
inline constexpr size_t kMostCountedStates = size_t{1} << 17;
// Why a rule is too intricate to count, or nothing.
std::string TooIntricateToCount(const PasswordRule& rule);

// The width in 64-bit limbs that counts of passwords this long need.
int WidthFor(int length, int characters);

// Counts by state, position by position: the lines states met at each
// position and, for each with every runs state, how many passwords of the
// rest of the length lead from there to one that keeps the rule.
class RuleTables {
public:
    // Fails (ok() false) when the tables would take more than `most_bytes`.
    RuleTables(const PasswordRule& rule, int length, size_t most_bytes);
    bool ok() const { return ok_; }
    // One password drawn with every one that keeps the rule equally likely.
    void Draw(char* out);
    const WideCount& total() const;

private:
    const WideCount& At(int position, int lines, int runs) const;

    RuleStates states_;
    int length_;
    bool ok_ = false;
    size_t bytes_ = 0;
    std::vector<std::vector<int>> present_;   // lines states by position
    std::vector<std::vector<int>> index_of_;  // a lines state's row by position, -1 when absent
    std::vector<std::vector<WideCount>> completions_;
};

// The passwords of every length up to `longest` that keep the rule.
std::vector<BigCount> CountByStates(const PasswordRule& rule, int longest);

}  // namespace morvane
