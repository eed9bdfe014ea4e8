#include "edit/find_operations.h"

#include <cwctype>

#include "platform/error_report.h"

namespace morvane {
namespace {

char32_t Fold(char32_t c) { return static_cast<char32_t>(std::towlower(static_cast<wint_t>(c))); }

bool MatchesAt(const Text& text, const Text& find, size_t at, bool match_case) {
    for (size_t k = 0; k < find.size(); ++k) {
        char32_t a = text[at + k], b = find[k];
        if (match_case ? a != b : Fold(a) != Fold(b)) return false;
    }
    return true;
}

bool IsBreak(char32_t c) { return c == U'\r' || c == U'\n'; }

}  // namespace

int FindForward(const Text& text, const Text& find, int from, bool match_case) {
    if (find.empty() || from < 1) return 0;
    for (size_t at = static_cast<size_t>(from - 1); at + find.size() <= text.size(); ++at)
        if (MatchesAt(text, find, at, match_case)) return static_cast<int>(at) + 1;
    return 0;
}

int FindBackward(const Text& text, const Text& find, int within, bool match_case) {
    if (find.empty()) return 0;
    long limit = std::min<long>(within, static_cast<long>(text.size()));
    for (long at = limit - static_cast<long>(find.size()); at >= 0; --at)
        if (MatchesAt(text, find, static_cast<size_t>(at), match_case)) return static_cast<int>(at) + 1;
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
        Text text = target_->GetText();
        int p = FindForward(text, find, search_position, match_case);
        if (p == 0) {
            box_.Beep();
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
        Text text = target_->GetText();
        if (target_->SelStart() == static_cast<int>(text.size())) --search_position;
        int p = FindBackward(text, find, search_position, match_case);
        if (p == 0) {
            box_.Beep();
            return;
        }
        int n = static_cast<int>(find.size());
        if (whole_word) FindWholeWord(text, p, n);
        else HighlightText(p, n);
        search_position = (p == 1 ? 2 : p) - 1;
    });
}

void FindOperations::HighlightText(int p, int n) {
    Trap("HighlightText", [&] {
        target_->SetFocus();
        target_->SetSelStart(p - 1);
        target_->SetSelLength(n);
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
        Text text = target_->GetText();
        int p = FindForward(text, find, search_position, match_case);
        if (p == 0) {
            box_.Beep();
            return;
        }
        const int n = static_cast<int>(find.size());
        if (!replace_all) {
            if (!whole_word || IsWholeWord(text, p, n)) SwapWord(p, n, replace);
            return;
        }
        // Every occurrence from here on, each search continuing behind the
        // previous insertion, or behind an occurrence the whole-word test
        // rejected, so that the loop always ends. Built in one pass and
        // written back once.
        Text out = text.substr(0, static_cast<size_t>(p - 1));
        size_t read = static_cast<size_t>(p - 1);
        long caret = -1;
        while (p > 0) {
            size_t at = static_cast<size_t>(p - 1);
            out.append(text, read, at - read);
            read = at;
            bool before = out.empty() || IsBreak(out.back());
            size_t after = at + static_cast<size_t>(n);
            bool whole = before && (after >= text.size() || IsBreak(text[after]));
            if (!whole_word || whole) {
                out += replace;
                read = after;
                caret = static_cast<long>(out.size());
                p = FindForward(text, find, static_cast<int>(after) + 1, match_case);
            } else {
                p = FindForward(text, find, p + 1, match_case);
            }
        }
        out.append(text, read, Text::npos);
        if (caret < 0) return;  // every occurrence was rejected
        target_->SetFocus();
        target_->SetText(out);
        target_->SetSelStart(static_cast<int>(caret));
    });
}

}  // namespace morvane
