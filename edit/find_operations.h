#pragma once
// Finding and replacing in the password list: 1-based positions in its
// CR LF text, whole "words" bounded by line breaks, no wrapping, a beep when
// nothing is found.
#include <functional>

#include "platform/contracts/controls.h"
#include "platform/contracts/message_box.h"

namespace morvane {

class FindOperations {
public:
    explicit FindOperations(MessageBoxService& box) : box_(box) {}
    void SetTarget(RichTextBox* target) { target_ = target; }
    RichTextBox* target() const { return target_; }
    int search_position = 1;
    // Called now and then during a long Replace All, so the window can
    // repaint while the occurrences are sought.
    std::function<void()> pass_time;
    // Told, after the beep, when a search finds nothing; and when one finds.
    std::function<void()> not_found;
    std::function<void()> found;

    void FindNext(const Text& find, bool whole_word, bool match_case, bool down);
    void Replace(const Text& find, const Text& replace, bool whole_word, bool match_case,
                 bool replace_all);

private:
    void FindNextDownwards(const Text& find, bool whole_word, bool match_case);
    void FindNextUpwards(const Text& find, bool whole_word, bool match_case);
    void HighlightText(int p, int n);
    void FindWholeWord(const Text& text, int p, int n);
    void ReplaceWords(const Text& find, const Text& replace, bool whole_word, bool match_case,
                      bool replace_all, const char* name);
    void SwapWord(int p, int n, const Text& replace);
    void NothingFound();
    template <class Body>
    void Trap(const char* name, Body&& body);

    MessageBoxService& box_;
    RichTextBox* target_ = nullptr;
};

// 1-based position of the first occurrence at or after `from`, or 0.
int FindForward(const Text& text, const Text& find, int from, bool match_case);
// 1-based position of the last occurrence lying within the first `within`
// characters, or 0.
int FindBackward(const Text& text, const Text& find, int within, bool match_case);
// Line breaks before and after the occurrence; the start and the end of the
// text count as breaks.
bool IsWholeWord(const Text& text, int p, int n);

}  // namespace morvane
