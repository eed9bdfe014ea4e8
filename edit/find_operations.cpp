#include "edit/find_operations.h"

#include <locale.h>
#include <wctype.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "platform/contracts/error_report.h"

namespace morvane {
namespace {

// Simple Unicode case folding, the same in every locale: the Unicode
// character tables of C.UTF-8, not the user's locale, decide.
char32_t FoldByTables(char32_t c) {
    if (c < 0x80) return c >= U'A' && c <= U'Z' ? c + 32 : c;
    static const locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
    if (!unicode) return c;
    if (c == 0x130 || c == 0x131) return c;  // Turkish dotted capital and dotless small i fold to themselves
    // Through the capital, so that final sigma, long s and the like meet
    // their other forms.
    wint_t upper = towupper_l(static_cast<wint_t>(c), unicode);
    return static_cast<char32_t>(towlower_l(upper, unicode));
}

// The folds of the Basic Multilingual Plane, looked up once: a search
// without Match case then folds each character of a long list by an index.
class Folder {
public:
    Folder() {
        static const std::vector<char32_t> table = [] {
            std::vector<char32_t> folds(0x10000);
            for (char32_t c = 0; c < 0x10000; ++c) folds[c] = FoldByTables(c);
            return folds;
        }();
        table_ = table.data();
    }
    char32_t operator()(char32_t c) const { return c < 0x10000 ? table_[c] : FoldByTables(c); }

private:
    const char32_t* table_;
};

bool IsBreak(char32_t c) { return c == U'\r' || c == U'\n'; }

// Horspool's search over characters as found or as folded: the skip for a
// text character is kept by its lowest byte, the smallest among the sought
// characters that share it, so a skip never passes an occurrence. Lists
// whose lines all begin alike are read a needle's length at a time.
class Horspool {
public:
    Horspool(const Text& find, bool match_case, bool forward) : find_(find), match_case_(match_case) {
        const size_t n = find.size();
        skips_.fill(n);
        for (size_t i = 0; i + 1 < n; ++i) {
            // Forward, the distance to the needle's end; backward, to its start.
            const size_t k = forward ? i : n - 1 - i;
            size_t& skip = skips_[Key(find[k])];
            skip = std::min(skip, n - 1 - i);
        }
    }
    char32_t Fold(char32_t c) const { return match_case_ ? c : fold_(c); }
    size_t Skip(char32_t c) const { return skips_[Key(c)]; }
    bool At(const Text& text, size_t at) const {
        for (size_t k = 0; k < find_.size(); ++k)
            if (Fold(text[at + k]) != Fold(find_[k])) return false;
        return true;
    }

private:
    uint8_t Key(char32_t c) const { return static_cast<uint8_t>(Fold(c)); }
    const Text& find_;
    bool match_case_;
    Folder fold_;
    std::array<size_t, 256> skips_;
};

}  // namespace

int FindForward(const Text& text, const Text& find, int from, bool match_case) {
    if (find.empty() || from < 1) return 0;
    const Horspool search(find, match_case, true);
    const size_t n = find.size();
    for (size_t at = static_cast<size_t>(from - 1); at + n <= text.size(); at += search.Skip(text[at + n - 1]))
        if (search.At(text, at)) return static_cast<int>(at) + 1;
    return 0;
}

int FindBackward(const Text& text, const Text& find, int within, bool match_case) {
    if (find.empty()) return 0;
    const Horspool search(find, match_case, false);
    const long n = static_cast<long>(find.size());
    for (long at = std::min<long>(within, static_cast<long>(text.size())) - n; at >= 0;
         at -= static_cast<long>(search.Skip(text[static_cast<size_t>(at)])))
        if (search.At(text, static_cast<size_t>(at))) return static_cast<int>(at) + 1;
    return 0;
}

bool IsWholeWord(const Text& text, int p, int n) {
    bool before = p == 1 || IsBreak(text[static_cast<size_t>(p - 2)]);
    size_t after = static_cast<size_t>(p - 1 + n);
    return before && (after >= text.size() || IsBreak(text[after]));
}

template <class Body>
void FindOperations::Trap(const char* name, Body&& body) {
    TrapErrors(box_, Owner::kModule, name, std::forward<Body>(body));
}

void FindOperations::FindNext(const Text& find, bool whole_word, bool match_case, bool down) {
    Trap("FindNext", [&] {
        if (down) FindNextDownwards(find, whole_word, match_case);
        else FindNextUpwards(find, whole_word, match_case);
    });
}

void FindOperations::FindNextDownwards(const Text& find, bool whole_word, bool match_case) {
    Trap("FindNextDownwards", [&] {
        const Text& text = target_->TextView();
        int p = FindForward(text, find, search_position, match_case);
        if (p == 0) {
            NothingFound();
            return;
        }
        int n = static_cast<int>(find.size());
        if (whole_word) FindWholeWord(text, p, n);
        else HighlightText(p, n);
        search_position = p + n;
    });
}

void FindOperations::FindNextUpwards(const Text& find, bool whole_word, bool match_case) {
    Trap("FindNextUpwards", [&] {
        const Text& text = target_->TextView();
        if (target_->SelStart() == static_cast<int>(text.size())) --search_position;
        int p = FindBackward(text, find, search_position, match_case);
        if (p == 0) {
            NothingFound();
            return;
        }
        int n = static_cast<int>(find.size());
        if (whole_word) FindWholeWord(text, p, n);
        else HighlightText(p, n);
        search_position = (p == 1 ? 2 : p) - 1;
    });
}

void FindOperations::NothingFound() {
    box_.Beep();
    if (not_found) not_found();
}

void FindOperations::HighlightText(int p, int n) {
    Trap("HighlightText", [&] {
        target_->SetFocus();
        target_->SetSelStart(p - 1);
        target_->SetSelLength(n);
        if (found) found();
    });
}

void FindOperations::FindWholeWord(const Text& text, int p, int n) {
    Trap("FindWholeWord", [&] {
        if (IsWholeWord(text, p, n)) HighlightText(p, n);
    });
}

void FindOperations::Replace(const Text& find, const Text& replace, bool whole_word, bool match_case,
                             bool replace_all) {
    Trap("Replace", [&] {
        ReplaceWords(find, replace, whole_word, match_case, replace_all,
                     match_case ? "ReplaceWordMatch" : "ReplaceWordNoMatch");
    });
}

void FindOperations::SwapWord(int p, int n, const Text& replace) {
    Trap("SwapWord", [&] {
        HighlightText(p, n);
        target_->SetSelText(replace);
    });
}

void FindOperations::ReplaceWords(const Text& find, const Text& replace, bool whole_word,
                                  bool match_case, bool replace_all, const char* name) {
    Trap(name, [&] {
        const Text& text = target_->TextView();
        int p = FindForward(text, find, search_position, match_case);
        if (p == 0) {
            NothingFound();
            return;
        }
        const int n = static_cast<int>(find.size());
        if (!replace_all) {
            if (!whole_word || IsWholeWord(text, p, n)) SwapWord(p, n, replace);
            return;
        }
        // Every occurrence from here on, each search continuing behind the
        // previous insertion, or behind an occurrence the whole-word test
        // rejected, so that the loop always ends. The occurrences are found
        // in one pass and replaced in the list as one edit.
        std::vector<TextRange> ranges;
        const long grow = static_cast<long>(replace.size()) - n;
        // The last character of the text as it reads with the replacements
        // so far, for the whole-word test; none at the very start.
        bool any_before = false;
        char32_t last_before = 0;
        size_t read = 0;
        while (p > 0) {
            if (pass_time && ranges.size() % 4096 == 4095) pass_time();
            size_t at = static_cast<size_t>(p - 1);
            if (at > read) {
                any_before = true;
                last_before = text[at - 1];
            }
            read = at;
            bool before = !any_before || IsBreak(last_before);
            size_t after = at + static_cast<size_t>(n);
            bool whole = before && (after >= text.size() || IsBreak(text[after]));
            if (!whole_word || whole) {
                ranges.push_back({static_cast<int>(at), n});
                if (!replace.empty()) {
                    any_before = true;
                    last_before = replace.back();
                }
                read = after;
                p = FindForward(text, find, static_cast<int>(after) + 1, match_case);
            } else {
                p = FindForward(text, find, p + 1, match_case);
            }
        }
        if (ranges.empty()) return;  // every occurrence was rejected
        const long caret = ranges.back().start + static_cast<long>(ranges.size() - 1) * grow +
                           static_cast<long>(replace.size());
        target_->SetFocus();
        target_->ReplaceRanges(ranges, replace);
        target_->SetSelStart(static_cast<int>(caret));
    });
}

}  // namespace morvane
