// Find and Replace on the list text, and the dialog host's message handling.
#include <algorithm>
#include <clocale>
#include <random>

#include "edit/find_host.h"
#include "form_harness.h"

using namespace morvane;

namespace {

struct Finder {
    FocusScope focus;
    MemoryTextBox list{focus};
    ScriptedMessageBox box;
    FindOperations ops{box};
    explicit Finder(const Text& text) {
        list.SetText(text);
        ops.SetTarget(&list);
    }
    Text Selected() const { return list.SelText(); }
};

}  // namespace

TEST(FindOperationsTest, DownwardsFindsEachOccurrenceThenBeeps) {
    Finder f(U"abc\r\nxabc\r\n");
    f.ops.FindNext(U"abc", false, false, true);
    EXPECT_EQ(f.list.SelStart(), 0);
    EXPECT_EQ(f.Selected(), U"abc");
    f.ops.FindNext(U"abc", false, false, true);
    EXPECT_EQ(f.list.SelStart(), 6);
    EXPECT_EQ(f.box.beeps, 0);
    f.ops.FindNext(U"abc", false, false, true);
    EXPECT_EQ(f.box.beeps, 1);
    EXPECT_EQ(f.list.SelStart(), 6);  // no wrap to the top
    EXPECT_EQ(f.focus.focused, &f.list);
}

TEST(FindOperationsTest, WholeWordIsAWholeLine) {
    Finder f(U"abc\r\nxabc\r\n");
    f.ops.FindNext(U"abc", true, false, true);
    EXPECT_EQ(f.list.SelStart(), 0);
    f.list.SetSelStart(2);
    f.ops.FindNext(U"abc", true, false, true);  // inside xabc: nothing, no beep
    EXPECT_EQ(f.list.SelStart(), 2);
    EXPECT_EQ(f.box.beeps, 0);
    f.ops.FindNext(U"abc", true, false, true);
    EXPECT_EQ(f.box.beeps, 1);
}

TEST(FindOperationsTest, CaseRules) {
    Finder f(U"abc\r\n");
    f.ops.FindNext(U"ABC", false, false, true);
    EXPECT_EQ(f.Selected(), U"abc");
    Finder g(U"abc\r\n");
    g.ops.FindNext(U"ABC", false, true, true);
    EXPECT_EQ(g.box.beeps, 1);
}

TEST(FindOperationsTest, UpwardsFromTheEndTakesTheLastOccurrenceAndStopsAtTheTop) {
    Finder f(U"ab\r\nab\r\n");
    f.list.SetSelStart(8);
    f.ops.search_position = 9;
    f.ops.FindNext(U"ab", false, false, false);
    EXPECT_EQ(f.list.SelStart(), 4);
    f.ops.FindNext(U"ab", false, false, false);
    EXPECT_EQ(f.list.SelStart(), 0);
    EXPECT_EQ(f.ops.search_position, 1);
    f.ops.FindNext(U"ab", false, false, false);
    EXPECT_EQ(f.box.beeps, 1);
    EXPECT_EQ(f.ops.search_position, 1);
}

TEST(FindOperationsTest, ReplaceAllContinuesBehindEachInsertion) {
    Finder f(U"aaa");
    f.ops.Replace(U"a", U"aa", false, false, true);
    EXPECT_EQ(f.list.GetText(), U"aaaaaa");
    EXPECT_EQ(f.list.SelStart(), 6);
    EXPECT_EQ(f.ops.search_position, 1);
}

TEST(FindOperationsTest, SingleReplacesSearchAgainFromTheSamePosition) {
    Finder f(U"ab\r\nab\r\nab\r\n");
    f.ops.Replace(U"ab", U"x", false, true, false);
    f.ops.Replace(U"ab", U"x", false, true, false);
    EXPECT_EQ(f.list.GetText(), U"x\r\nx\r\nab\r\n");
    f.ops.search_position = 20;
    f.ops.Replace(U"ab", U"x", false, true, false);
    EXPECT_EQ(f.box.beeps, 1);
    EXPECT_EQ(f.list.GetText(), U"x\r\nx\r\nab\r\n");
}

TEST(FindOperationsTest, ReplaceAllEndsWhenAnOccurrenceFailsTheWholeWordTest) {
    Finder f(U"xab\r\nab\r\nabab\r\nab");
    f.ops.Replace(U"ab", U"Z", true, true, true);
    EXPECT_EQ(f.list.GetText(), U"xab\r\nZ\r\nabab\r\nZ");
    Finder none(U"xab\r\n");
    none.ops.Replace(U"ab", U"Z", true, true, true);
    EXPECT_EQ(none.list.GetText(), U"xab\r\n");
}

TEST(FindOperationsTest, ReplaceAllOnALongListIsOnePass) {
    Text text;
    for (int i = 0; i < 100000; ++i) text += U"pass\r\n";
    Finder f(text);
    f.ops.Replace(U"pass", U"word", true, true, true);
    EXPECT_EQ(f.list.GetText().substr(0, 12), U"word\r\nword\r\n");
    EXPECT_EQ(FindForward(f.list.GetText(), U"pass", 1, true), 0);
}

TEST(FindOperationsTest, AnEmptyFindTextFindsNothing) {
    Finder f(U"abc");
    f.ops.FindNext(U"", false, false, true);
    f.ops.Replace(U"", U"x", false, false, true);
    EXPECT_EQ(f.list.GetText(), U"abc");
    EXPECT_EQ(f.box.beeps, 2);
}

namespace {

struct Host {
    FocusScope focus;
    MemoryTextBox list{focus};
    ScriptedMessageBox box;
    MessageWindow window;
    int other_messages = 0;
    std::vector<std::pair<FindReplaceRecord, bool>> dialogs;
    modFind find{box, [this](FindReplaceRecord& r, bool replace) {
                     dialogs.push_back({r, replace});
                     return true;
                 }};
    Host() {
        window.SetWindowProc([this](unsigned, uintptr_t, intptr_t) {
            ++other_messages;
            return intptr_t{7};
        });
    }
    void Press(uint32_t flags, const std::string& what, const std::string& with = "") {
        FindReplaceRecord& r = dialogs.back().first;
        std::vector<char> a(1025, 0), b(1025, 0);
        std::copy(what.begin(), what.end(), a.begin());
        std::copy(with.begin(), with.end(), b.begin());
        FindReplaceRecord sent = r;
        sent.Flags = flags;
        sent.lpstrFindWhat = a.data();
        sent.lpstrReplaceWith = r.wReplaceWithLen ? b.data() : nullptr;
        window.Send(RegisterWindowMessage("commdlg_FindReplace"), 0, reinterpret_cast<intptr_t>(&sent));
    }
};

}  // namespace

TEST(FindHost, OpensWithTheSelectionDownAndNoOptions) {
    Host h;
    h.list.SetText(U"one\r\ntwo\r\n");
    h.list.SetSelStart(5);
    h.list.SetSelLength(3);
    h.find.ShowReplaceDialog(&h.list, &h.window);
    ASSERT_EQ(h.dialogs.size(), 1u);
    const FindReplaceRecord& r = h.dialogs[0].first;
    EXPECT_TRUE(h.dialogs[0].second);
    EXPECT_EQ(r.lStructSize, 40u);
    EXPECT_EQ(r.Flags, FR_DOWN);
    EXPECT_STREQ(r.lpstrFindWhat, "two");
    EXPECT_STREQ(r.lpstrReplaceWith, "two");
    EXPECT_EQ(r.wFindWhatLen, 1024);
    EXPECT_EQ(h.find.operations().search_position, 6);
    h.Press(FR_FINDNEXT | FR_DOWN, "two");
    EXPECT_EQ(h.list.SelStart(), 5);  // the selection itself is found first

    Host k;
    k.find.ShowFindDialog(&k.list, &k.window);
    EXPECT_EQ(k.dialogs[0].first.lpstrReplaceWith, nullptr);
    EXPECT_EQ(k.dialogs[0].first.wReplaceWithLen, 0);
    EXPECT_STREQ(k.dialogs[0].first.lpstrFindWhat, "");
}

TEST(FindHost, RequestsReachTheOperationsAndOtherMessagesPassOn) {
    Host h;
    h.list.SetText(U"aa\r\nbb\r\naa\r\n");
    h.find.ShowReplaceDialog(&h.list, &h.window);
    h.Press(FR_REPLACEALL | FR_DOWN | FR_MATCHCASE | FR_WHOLEWORD, "aa", "c");
    EXPECT_EQ(h.list.GetText(), U"c\r\nbb\r\nc\r\n");
    h.Press(FR_DIALOGTERM, "aa", "c");  // closing changes nothing
    EXPECT_EQ(h.list.GetText(), U"c\r\nbb\r\nc\r\n");
    EXPECT_EQ(h.window.Send(0x0010, 1, 2), 7);
    EXPECT_EQ(h.other_messages, 1);
}

TEST(FindHost, ReopeningLeavesExactlyOneProcedureInTheChain) {
    Host h;
    for (int i = 0; i < 3; ++i) h.find.ShowFindDialog(&h.list, &h.window);
    h.window.Send(0x0010, 0, 0);
    EXPECT_EQ(h.other_messages, 1);  // passed on once, not once per opening
}

TEST(FindHost, FailedRegistrationIsReported) {
    FailMessageRegistration(true);
    ScriptedMessageBox box;
    FocusScope focus;
    MemoryTextBox list{focus};
    MessageWindow window;
    bool opened = false;
    modFind find(box, [&](FindReplaceRecord&, bool) { return opened = true; });
    find.ShowFindDialog(&list, &window);
    FailMessageRegistration(false);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, "Cannot Find/Replace - Call to register message failed");
    EXPECT_EQ(box.shown[0].title, kAppTitle);
    EXPECT_FALSE(opened);
}

TEST(FindHost, ALongSelectionIsReportedWithoutADialog) {
    Host h;
    h.list.SetText(Text(2000, U'q'));
    h.list.SetSelStart(0);
    h.list.SetSelLength(1500);
    h.find.ShowFindDialog(&h.list, &h.window);
    EXPECT_TRUE(h.dialogs.empty());
    ASSERT_EQ(h.box.shown.size(), 1u);
    EXPECT_EQ(h.box.shown[0].title, "ERROR:ShowDialog");
    EXPECT_NE(h.box.shown[0].text.find("at most 1024 characters"), std::string::npos);
}

TEST(FindHost, StringsFromTheDialogEndAtTheirZero) {
    const char bytes[] = {'a', 'b', 0, 'c'};
    EXPECT_EQ(modFind::StringFromPointer(bytes, 4), U"ab");
    EXPECT_EQ(modFind::StringFromPointer(nullptr, 4), U"");
    EXPECT_EQ(modFind::StringFromPointer("\xC3\xA9x", 3), U"éx");
}

TEST(FindCase, IgnoringCaseFoldsUnicodeInEveryLocale) {
    const char* before = setlocale(LC_ALL, nullptr);
    std::string saved = before ? before : "C";
    for (const char* locale : {"C", "de_DE.UTF-8", "tr_TR.UTF-8"}) {
        if (!setlocale(LC_ALL, locale)) continue;
        SCOPED_TRACE(locale);
        EXPECT_EQ(FindForward(T("x\r\nÉCOLE ÅSA\r\n"), T("école åsa"), 1, false), 4);
        EXPECT_EQ(FindForward(T("ΟΔΟΣ\r\n"), T("οδος"), 1, false), 1);   // final sigma meets capital sigma
        EXPECT_EQ(FindForward(T("ΟΔΟΣ\r\n"), T("οδοσ"), 1, false), 1);
        EXPECT_EQ(FindForward(T("Straße\r\n"), T("STRAẞE"), 1, false), 1);
        EXPECT_EQ(FindForward(T("DIŞ\r\n"), T("dış"), 1, false), 0);      // dotless i is its own letter
        EXPECT_EQ(FindForward(T("École\r\n"), T("école"), 1, true), 0);   // match case stays exact
        EXPECT_EQ(FindBackward(T("aÉb\r\n"), T("é"), 6, false), 2);
    }
    setlocale(LC_ALL, saved.c_str());
}

// Every occurrence, in both directions and either case rule, is where a
// plain scan finds it: texts of few characters whose lines begin alike, and
// characters that share their lowest byte (A and Ł), so skips are tested at
// their limits.
TEST(FindCase, FindsWhatAPlainScanFindsInTextsThatRepeatThemselves) {
    const std::u32string alphabet = U"aAbB\u0141\u0101\r\n";  // Ł and ā share a byte with A and 1
    std::mt19937 random(7);
    const auto draw = [&](size_t n) {
        Text t;
        for (size_t i = 0; i < n; ++i) t += alphabet[random() % alphabet.size()];
        return t;
    };
    // The alphabet's only pairs of cases are A and a, B and b.
    const auto same = [](char32_t a, char32_t b, bool match_case) {
        const auto fold = [](char32_t c) { return c >= U'A' && c <= U'Z' ? c + 32 : c; };
        return match_case ? a == b : fold(a) == fold(b);
    };
    // The first (or last) occurrence starting in [from, to - size], 1-based, or 0.
    const auto plain = [&](const Text& text, const Text& find, size_t from, size_t to, bool match_case, bool last) {
        int found = 0;
        for (size_t at = from; at + find.size() <= to; ++at) {
            if (!std::equal(find.begin(), find.end(), text.begin() + static_cast<long>(at),
                            [&](char32_t a, char32_t b) { return same(a, b, match_case); }))
                continue;
            found = static_cast<int>(at) + 1;
            if (!last) break;
        }
        return found;
    };
    for (int round = 0; round < 400; ++round) {
        Text text = U"Morvane-" + draw(3) + U"\r\n";
        for (int line = 0; line < 6; ++line) text += U"Morvane-" + draw(4) + U"\r\n";
        const size_t at = random() % text.size();
        const Text find = text.substr(at, 1 + random() % 12);
        for (const bool match_case : {true, false}) {
            const int from = 1 + static_cast<int>(random() % text.size());
            EXPECT_EQ(FindForward(text, find, from, match_case),
                      plain(text, find, static_cast<size_t>(from - 1), text.size(), match_case, false));
            const int within = static_cast<int>(random() % (text.size() + 2));
            EXPECT_EQ(FindBackward(text, find, within, match_case),
                      plain(text, find, 0, std::min<size_t>(within, text.size()), match_case, true));
        }
    }
}
