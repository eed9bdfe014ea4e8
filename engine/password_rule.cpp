#include "engine/password_rule.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>

#include "platform/base/text.h"

namespace morvane {
namespace {

constexpr int kFirstPrintable = 32, kLastPrintable = 126;

RuleCharacters Range(char first, char last) {
    RuleCharacters set;
    for (int c = first; c <= last; ++c) set.set(static_cast<size_t>(c));
    return set;
}

RuleCharacters Printable() { return Range(static_cast<char>(kFirstPrintable), static_cast<char>(kLastPrintable)); }

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Reads the text left to right, with the place of what it reads.
class RuleReader {
public:
    explicit RuleReader(std::string_view text) : text_(text) {}

    std::variant<PasswordRule, RuleProblem> Read() {
        bool any_class_line = false;
        RuleCharacters allowed_lines;
        while (true) {
            SkipBlanks();
            if (AtEnd()) break;
            if (Peek() == ';') {  // an empty property, as after a last ';'
                ++at_;
                continue;
            }
            const size_t name_at = at_;
            std::string name;
            while (!AtEnd() && Peek() != ':' && Peek() != ';' && !IsBlank(Peek())) name += text_[at_++];
            SkipBlanks();
            if (AtEnd() || Peek() != ':') return Problem(name_at, "\"" + name + "\" has no ':' and value after it");
            ++at_;
            SkipBlanks();
            // An empty value means the property is absent, as the other
            // readers of the language take it; the rule says so in a note.
            if (AtEnd() || Peek() == ';') {
                if (name == "required" || name == "allowed" || IsNumberProperty(name)) {
                    rule_.notes.push_back("the empty " + name + " at " + std::to_string(name_at + 1) + " is left out");
                    continue;
                }
            }
            if (name == "required" || name == "allowed") {
                RuleCharacters line;
                SkipBlanks();
                const size_t classes_at = at_;
                if (auto problem = ReadClasses(line)) return *problem;
                if (line.none()) {  // [] or characters beyond printable ASCII alone
                    rule_.notes.push_back("the " + name + " at " + std::to_string(name_at + 1) +
                                          " holds no printable ASCII character and is left out");
                    SkipBlanks();
                    if (AtEnd()) break;
                    if (Peek() != ';') return Problem(at_, "';' expected after the value of " + name);
                    ++at_;
                    continue;
                }
                any_class_line = true;
                if (name == "required") {
                    rule_.required.push_back(line);
                    std::string_view written = text_.substr(classes_at, at_ - classes_at);
                    while (!written.empty() && IsBlank(written.back())) written.remove_suffix(1);
                    rule_.required_texts.emplace_back(written);
                } else {
                    allowed_lines |= line;
                }
            } else if (IsNumberProperty(name)) {
                int value = 0;
                if (auto problem = ReadNumber(name, value)) return *problem;
                Combine(name, value);
                if (name == "minlength" || name == "maxlength") lengths_at_ = name_at;
            } else {
                return Problem(name_at, "unknown property \"" + name + "\"");
            }
            SkipBlanks();
            if (AtEnd()) break;
            if (Peek() != ';') return Problem(at_, "';' expected after the value of " + name);
            ++at_;
        }
        rule_.allowed = allowed_lines;
        for (const RuleCharacters& line : rule_.required) rule_.allowed |= line;
        if (!any_class_line) rule_.allowed = Printable();
        if (rule_.min_length && rule_.max_length && rule_.min_length > rule_.max_length)
            return Problem(lengths_at_, "minlength " + std::to_string(rule_.min_length) + " is above maxlength " +
                                            std::to_string(rule_.max_length));
        return rule_;
    }

private:
    static bool IsNumberProperty(const std::string& name) {
        return name == "minlength" || name == "maxlength" || name == "max-consecutive" || name == "max-repeating" ||
               name == "max-sequential";
    }
    bool AtEnd() const { return at_ >= text_.size(); }
    char Peek() const { return text_[at_]; }
    void SkipBlanks() {
        while (!AtEnd() && IsBlank(Peek())) ++at_;
    }
    static RuleProblem Problem(size_t at, std::string message) { return {at + 1, std::move(message)}; }

    // Repeated minlength takes the largest; maxlength and the max-* the smallest.
    void Combine(const std::string& name, int value) {
        const auto smallest = [](int& kept, int v) { kept = kept == 0 ? v : std::min(kept, v); };
        if (name == "minlength") rule_.min_length = std::max(rule_.min_length, value);
        else if (name == "maxlength") smallest(rule_.max_length, value);
        else if (name == "max-repeating") smallest(rule_.max_repeating, value);
        else if (name == "max-sequential") smallest(rule_.max_sequential, value);
        else {
            smallest(rule_.max_repeating, value);
            smallest(rule_.max_sequential, value);
        }
    }

    std::optional<RuleProblem> ReadNumber(const std::string& name, int& value) {
        SkipBlanks();
        const size_t start = at_;
        while (!AtEnd() && std::isdigit(static_cast<unsigned char>(Peek()))) ++at_;
        const std::string_view digits = text_.substr(start, at_ - start);
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (error == std::errc::result_out_of_range)
            return Problem(start, name + " " + std::string(digits) + " is too large: at most " +
                                      std::to_string(std::numeric_limits<int>::max()));
        if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() || value < 1)
            return Problem(start, name + " must be a whole number of at least 1");
        return std::nullopt;
    }

    // A comma-separated list of class names and custom classes.
    std::optional<RuleProblem> ReadClasses(RuleCharacters& line) {
        while (true) {
            SkipBlanks();
            const size_t start = at_;
            if (!AtEnd() && Peek() == '[') {
                if (auto problem = ReadCustomClass(line)) return problem;
            } else {
                std::string name;
                while (!AtEnd() && Peek() != ',' && Peek() != ';' && !IsBlank(Peek())) name += text_[at_++];
                if (name.empty()) return Problem(start, "a class is missing");
                const auto named = NamedRuleClass(name);
                if (!named) return Problem(start, "unknown class \"" + name + "\"");
                line |= *named;
            }
            SkipBlanks();
            if (AtEnd() || Peek() != ',') return std::nullopt;
            ++at_;
        }
    }

    // [...] of printable ASCII: '-' only as the first character, ']' only
    // as the last, written "]]"; no ranges.
    std::optional<RuleProblem> ReadCustomClass(RuleCharacters& line) {
        const size_t open = at_++;
        RuleCharacters members;
        bool beyond_ascii = false;
        bool first = true;
        while (true) {
            if (AtEnd()) return Problem(open, "the class opened here has no ']'");
            const char c = text_[at_];
            if (c == ']') {
                if (at_ + 1 < text_.size() && text_[at_ + 1] == ']') {
                    members.set(']');
                    at_ += 2;
                } else {
                    ++at_;
                }
                break;
            }
            const auto byte = static_cast<unsigned char>(c);
            if (c == '-' && !first)
                return Problem(at_, "'-' stands only first in a class: there are no ranges such as [a-z]");
            if (byte >= kFirstPrintable && byte <= kLastPrintable) members.set(byte);
            else beyond_ascii = true;
            first = false;
            ++at_;
        }
        if (beyond_ascii && members.any())
            rule_.notes.push_back("characters beyond printable ASCII in the class at " + std::to_string(open + 1) +
                                  " are left out");
        line |= members;
        return std::nullopt;
    }

    std::string_view text_;
    size_t at_ = 0;
    size_t lengths_at_ = 0;  // the last minlength or maxlength
    PasswordRule rule_;
};

}  // namespace

std::optional<RuleCharacters> NamedRuleClass(std::string_view name) {
    const std::string lower = AsciiLower(name);
    if (lower == "upper") return Range('A', 'Z');
    if (lower == "lower") return Range('a', 'z');
    if (lower == "digit") return Range('0', '9');
    if (lower == "special") return Printable() & ~(Range('A', 'Z') | Range('a', 'z') | Range('0', '9'));
    if (lower == "ascii-printable" || lower == "unicode") return Printable();
    return std::nullopt;
}

std::variant<PasswordRule, RuleProblem> ParsePasswordRule(std::string_view text) { return RuleReader(text).Read(); }

}  // namespace morvane
