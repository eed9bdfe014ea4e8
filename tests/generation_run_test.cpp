// Whole Generate runs: the list, the progress panel, duplicates, Clear.
#include <map>
#include <set>

#include "form_harness.h"

using namespace morvane;

TEST(GenerationRun, DefaultRunAppendsTenLinesAndCompletes) {
    FormHarness h;
    h.form.cmdGenerate_Click();
    std::vector<std::string> lines = h.Lines();
    ASSERT_EQ(lines.size(), 10u);
    for (const std::string& line : lines) {
        EXPECT_GE(line.size(), 6u);
        EXPECT_LE(line.size(), 8u);
        for (char c : line) EXPECT_TRUE(c >= 33 && c <= 126) << line;
    }
    EXPECT_EQ(h.List().substr(h.List().size() - 2), "\r\n");
    EXPECT_EQ(h.ui.txtNumPass.TextRef(), U"10");
    EXPECT_EQ(h.ui.txtProgress.TextRef(), U"100%");
    EXPECT_EQ(h.ui.pbProgress.Value(), 100);
    EXPECT_EQ(h.Status(), "Complete");
    EXPECT_EQ(h.ui.txtTimeStart.TextRef().size(), 8u);  // hh:mm:ss
    EXPECT_EQ(h.ui.txtTimeComp.TextRef().size(), 8u);
    EXPECT_TRUE(h.box.shown.empty());
}

TEST(GenerationRun, ASecondRunAppendsAndTheCountAccumulates) {
    FormHarness h;
    h.form.cmdGenerate_Click();
    std::string first = h.List();
    h.form.cmdGenerate_Click();
    EXPECT_EQ(h.Lines().size(), 20u);
    EXPECT_EQ(h.List().substr(0, first.size()), first);
    EXPECT_EQ(h.ui.txtNumPass.TextRef(), U"20");
}

TEST(GenerationRun, LengthsFollowTheValueOptions) {
    FormHarness h;
    h.ui.txtNum.SetText(U"600");
    h.form.cmdGenerate_Click();
    std::set<size_t> lengths;
    for (const std::string& line : h.Lines()) lengths.insert(line.size());
    EXPECT_EQ(lengths, (std::set<size_t>{6, 7, 8}));

    FormHarness k;
    k.ui.chkVarLen.SetValue(0);
    k.ui.txtNum.SetText(U"200");
    k.form.cmdGenerate_Click();
    for (const std::string& line : k.Lines()) EXPECT_EQ(line.size(), 8u);

    FormHarness one;  // a pool of one entry
    one.Only({&one.ui.chkOtherIn});
    one.ui.txtOtherIn.SetText(U"z");
    one.ui.txtMinLen.SetText(U"5");
    one.ui.txtMaxLen.SetText(U"5");
    one.form.cmdGenerate_Click();
    for (const std::string& line : one.Lines()) EXPECT_EQ(line, "zzzzz");
}

TEST(GenerationRun, RepeatedPoolEntriesAreDrawnProportionally) {
    FormHarness h;
    h.Only({&h.ui.chkNumber, &h.ui.chkOtherIn});
    h.ui.txtOtherIn.SetText(U"7");
    h.ui.txtNum.SetText(U"5000");
    h.form.cmdGenerate_Click();
    std::map<char, int> counts;
    for (char c : h.List())
        if (c >= '0' && c <= '9') ++counts[c];
    double ratio = static_cast<double>(counts['7']) / counts['3'];
    EXPECT_NEAR(ratio, 2.0, 0.25);
}

TEST(GenerationRun, ProgressTextRoundsHalvesToEven) {
    for (auto [count, expected] :
         {std::pair{3, std::vector<std::string>{"33%", "67%", "100%"}},
          std::pair{8, std::vector<std::string>{"12%", "25%", "38%", "50%", "62%", "75%", "88%", "100%"}}}) {
        FormHarness h;
        h.ui.txtNum.SetText(Ascii(std::to_string(count)));
        std::vector<std::string> seen;
        h.ui.txtProgress.Change = [&] {
            if (!h.ui.txtProgress.TextRef().empty()) seen.push_back(ToUtf8(h.ui.txtProgress.TextRef()));
        };
        h.form.cmdGenerate_Click();
        EXPECT_EQ(seen, expected);
    }
}

TEST(GenerationRun, TotalSecondsDoNotOverflowOnLongRuns) {
    FormHarness h;
    h.manual_clock = true;
    h.ui.txtNum.SetText(U"1");
    h.ui.rtfPasswords.Change = [&] { h.clock += std::chrono::seconds(40000); };
    h.form.cmdGenerate_Click();
    EXPECT_TRUE(h.box.shown.empty());
    EXPECT_EQ(h.ui.txtTimeTot.TextRef(), U"40000");
    EXPECT_EQ(h.Status(), "Complete");
}

TEST(GenerationRun, ClockTimesAreShownAsHoursMinutesSeconds) {
    FormHarness h;
    h.manual_clock = true;
    std::tm local{};
    local.tm_year = 126;
    local.tm_mon = 11;
    local.tm_mday = 7;
    local.tm_hour = 9;
    local.tm_min = 5;
    local.tm_sec = 3;
    local.tm_isdst = -1;
    h.clock = std::chrono::system_clock::from_time_t(std::mktime(&local));
    h.form.cmdGenerate_Click();
    EXPECT_EQ(h.ui.txtTimeStart.TextRef(), U"09:05:03");
    EXPECT_EQ(h.ui.txtTimeTot.TextRef(), U"0");
}

TEST(Duplicates, ExcludedDuplicatesGiveEveryFourDigitStringOnce) {
    FormHarness h;
    h.Only({&h.ui.chkNumber});
    h.ui.chkDuplicate.SetValue(1);
    h.ui.chkVarLen.SetValue(0);
    h.ui.txtMaxLen.SetText(U"4");
    h.ui.txtNum.SetText(U"10000");
    h.form.cmdGenerate_Click();
    std::vector<std::string> lines = h.Lines();
    ASSERT_EQ(lines.size(), 10000u);
    EXPECT_EQ(std::set<std::string>(lines.begin(), lines.end()).size(), 10000u);
    EXPECT_TRUE(h.box.shown.empty());
}

TEST(Duplicates, TooManyRequestedShowsTheMaximum) {
    FormHarness h;
    h.Only({&h.ui.chkNumber, &h.ui.chkOtherIn});
    h.ui.txtOtherIn.SetText(U"1");  // a repeat does not add a distinct code
    h.ui.chkDuplicate.SetValue(1);
    h.ui.chkVarLen.SetValue(0);
    h.ui.txtMaxLen.SetText(U"4");
    h.ui.txtNum.SetText(U"10001");
    h.form.cmdGenerate_Click();
    ASSERT_EQ(h.box.shown.size(), 1u);
    EXPECT_EQ(h.box.shown[0].title, "INPUT ERROR: Number of passwords.");
    EXPECT_EQ(h.box.shown[0].text,
              "Maximum number of passwords possible is 10000\r\nPlease change your number of passwords.");
    EXPECT_EQ(h.Focused(), &h.ui.txtNum);
    EXPECT_EQ(h.List(), "");
    EXPECT_EQ(h.Status(), "Complete");
}

TEST(Duplicates, PossibleCountsSumOverLengthsAndSaturate) {
    EXPECT_EQ(MaxPossiblePasswords(10, 4, 4, false), 10000);
    EXPECT_EQ(MaxPossiblePasswords(10, 4, 6, true), 1110000);
    EXPECT_EQ(MaxPossiblePasswords(2, 4, 5, true), 48);
    EXPECT_EQ(MaxPossiblePasswords(94, 8, 128, true), 2147483647);
    EXPECT_EQ(MaxPossiblePasswords(32767, 128, 128, false), 2147483647);
    EXPECT_EQ(MaxPossiblePasswords(1, 4, 128, true), 125);
}

TEST(Duplicates, OnlyLinesOfThisRunCount) {
    DuplicateIndex index;
    EXPECT_TRUE(index.Insert(U"abcdef"));
    EXPECT_FALSE(index.Contains(U"abcd"));  // only whole passwords
    EXPECT_FALSE(index.Contains(U"cdef"));
    EXPECT_FALSE(index.Contains(U"ABCDEF"));
    EXPECT_TRUE(index.Contains(U"abcdef"));
    EXPECT_FALSE(index.Insert(U"abcdef"));
    EXPECT_TRUE(index.Insert(U"abcd"));
    EXPECT_TRUE(index.Insert(U""));
    EXPECT_TRUE(index.Contains(U""));
    // Long and non-ASCII passwords are keyed by their hash; near misses differ.
    const Text long_one(40, U'q'), accented = U"\u00e9t\u00e9";
    EXPECT_TRUE(index.Insert(long_one));
    EXPECT_TRUE(index.Insert(accented));
    EXPECT_TRUE(index.Contains(long_one));
    EXPECT_FALSE(index.Contains(Text(41, U'q')));
    EXPECT_FALSE(index.Contains(U"\u00e9t\u00e8"));
    for (int i = 0; i < 100000; ++i) ASSERT_TRUE(index.Insert(Ascii("long password number " + std::to_string(i))));
    EXPECT_EQ(index.size(), 100005u);

    FormHarness h;  // earlier runs are not compared
    h.Only({&h.ui.chkNumber});
    h.ui.chkDuplicate.SetValue(1);
    h.ui.chkVarLen.SetValue(0);
    h.ui.txtMaxLen.SetText(U"4");
    h.ui.txtNum.SetText(U"10000");
    h.form.cmdGenerate_Click();
    h.form.cmdGenerate_Click();
    EXPECT_EQ(h.Lines().size(), 20000u);
}

TEST(Duplicates, AnIndexReservedForAMillionHoldsEachOnceToItsLastSlot) {
    // Sized once for the run, its table spans several large pages; the keys
    // land on every page of it.
    DuplicateIndex index;
    constexpr int kCount = 1000000;
    index.Reserve(kCount);
    const auto password = [](int i) { return std::to_string(10000000 + i); };  // 8 ASCII characters
    for (int i = 0; i < kCount; ++i) ASSERT_TRUE(index.InsertUtf8(password(i))) << i;
    for (int i = 0; i < kCount; i += 7) ASSERT_FALSE(index.InsertUtf8(password(i))) << i;
    EXPECT_EQ(index.size(), static_cast<size_t>(kCount));
    EXPECT_TRUE(index.Contains(Ascii(password(kCount - 1))));
    EXPECT_FALSE(index.Contains(Ascii(password(kCount))));
    DuplicateIndex small;  // within one small page
    small.Reserve(3);
    EXPECT_TRUE(small.InsertUtf8("abc"));
    EXPECT_FALSE(small.InsertUtf8("abc"));
}

TEST(GenerationRun, AnUnendedLastLineStaysAsTypedAndTheRunStartsOnANewLine) {
    FormHarness h;
    h.ui.rtfPasswords.SetText(U"mine");
    h.ui.txtNum.SetText(U"2");
    h.form.cmdGenerate_Click();
    std::vector<std::string> lines = h.Lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "mine");
    EXPECT_EQ(h.ui.txtNumPass.GetText(), U"2");
    // A list that ends with its line end, or is empty, gets no empty line.
    h.ui.rtfPasswords.SetText(U"ended\r\n");
    h.form.cmdGenerate_Click();
    EXPECT_EQ(h.Lines().size(), 3u);
    h.ui.rtfPasswords.SetText(U"");
    h.form.cmdGenerate_Click();
    EXPECT_EQ(h.Lines().size(), 2u);
}

TEST(GenerationRun, ACommandDuringTheRunRunsBetweenPasswords) {
    FormHarness h;
    h.ui.txtNum.SetText(U"5");
    int yields = 0;
    h.ui.txtNumPass.Change = [&] {
        if (++yields == 2) h.form.ChangeStatus(12);  // as if Save failed meanwhile
    };
    h.form.cmdGenerate_Click();
    EXPECT_EQ(h.Lines().size(), 5u);
    EXPECT_EQ(h.Status(), "Complete");
}

TEST(GenerationRun, EditsMadeDuringTheRunReachThePasswordsStillToCome) {
    // Without a window every password is a turn of its own.
    FormHarness h;
    h.ui.chkVarLen.SetValue(0);
    h.ui.txtNum.SetText(U"30");
    int turns = 0;
    h.ui.txtNumPass.Change = [&] {
        ++turns;
        if (turns == 5) h.ui.txtMaxLen.SetText(U"12");
        if (turns == 10) h.ui.txtMaxLen.SetText(U"");   // cleared to type anew: the last good length holds
        if (turns == 11) h.ui.txtMaxLen.SetText(U"1");  // not a length yet
        if (turns == 12) h.ui.txtMaxLen.SetText(U"16");
        if (turns == 20) {
            h.ui.chkVarLen.SetValue(1);
            h.ui.txtMinLen.SetText(U"4");
            h.ui.txtMaxLen.SetText(U"5");
        }
    };
    h.form.cmdGenerate_Click();
    const std::vector<std::string> lines = h.Lines();
    ASSERT_EQ(lines.size(), 30u);
    for (size_t i = 0; i < lines.size(); ++i) {
        const size_t expected_most = i < 5 ? 8 : i < 12 ? 12 : i < 20 ? 16 : 5;
        const size_t expected_least = i < 20 ? expected_most : 4;
        EXPECT_GE(lines[i].size(), expected_least) << i;
        EXPECT_LE(lines[i].size(), expected_most) << i;
    }
    EXPECT_TRUE(h.box.shown.empty());

    // The duplicate box, ticked during a run, keeps the rest of it free of
    // repeats among 10^4 four-digit passwords.
    FormHarness d;
    d.Only({&d.ui.chkNumber});
    d.ui.chkVarLen.SetValue(0);
    d.ui.txtMinLen.SetText(U"4");
    d.ui.txtMaxLen.SetText(U"4");
    d.ui.chkOtherIn.SetValue(0);
    d.ui.txtNum.SetText(U"3000");
    d.ui.txtNumPass.Change = [&] { d.ui.chkDuplicate.SetValue(1); };
    d.form.cmdGenerate_Click();
    const std::vector<std::string> digits = d.Lines();
    ASSERT_EQ(digits.size(), 3000u);
    EXPECT_EQ(std::set<std::string>(digits.begin() + 1, digits.end()).size(), 2999u);
}

TEST(ClearCommand, CancelKeepsEverythingOkEmptiesListAndPanel) {
    FormHarness h;
    h.form.cmdGenerate_Click();
    std::string list = h.List();
    h.box.answers = {kResultCancel};
    h.form.cmdClear_Click();
    ASSERT_EQ(h.box.shown.size(), 1u);
    EXPECT_EQ(h.box.shown[0].title, "Clear Passwords:");
    EXPECT_EQ(h.box.shown[0].text, "This will clear all passwords in list!");
    EXPECT_EQ(h.box.shown[0].buttons, kOkCancel);
    EXPECT_EQ(h.List(), list);
    EXPECT_EQ(h.Status(), "Complete");

    h.box.answers = {kResultOk};
    h.form.ClearPasswords();
    EXPECT_EQ(h.List(), "");
    EXPECT_EQ(h.ui.txtNumPass.TextRef(), U"");
    EXPECT_EQ(h.ui.txtTimeStart.TextRef(), U"");
    EXPECT_EQ(h.ui.txtTimeComp.TextRef(), U"");
    EXPECT_EQ(h.ui.txtTimeTot.TextRef(), U"");
    EXPECT_EQ(h.ui.txtProgress.TextRef(), U"");
    EXPECT_EQ(h.ui.pbProgress.Value(), 0);
    EXPECT_EQ(h.Status(), "Ready");
    h.ui.txtNum.SetText(U"1");
    h.form.cmdGenerate_Click();
    EXPECT_EQ(h.ui.txtNumPass.TextRef(), U"1");
}

TEST(StatusDisplay, CodesWordsColoursAndTheProgressText) {
    FormHarness h;
    struct Row { int code; const char* word; Rgb color; bool empties; };
    for (Row r : {Row{1, "Ready", {0, 192, 0}, true}, Row{2, "Complete", {0, 192, 0}, false},
                  Row{3, "File saved", {0, 192, 0}, true}, Row{4, "Print complete", {0, 192, 0}, true},
                  Row{5, "Building...", {0, 0, 128}, false}, Row{10, "Input Error", {192, 0, 0}, true},
                  Row{11, "Print cancelled", {192, 0, 0}, true},
                  Row{12, "Save cancelled", {192, 0, 0}, true}, Row{0, "ANOMALY", {192, 0, 0}, false},
                  Row{7, "ANOMALY", {192, 0, 0}, false}, Row{20, "ANOMALY", {192, 0, 0}, false}}) {
        h.ui.txtProgress.SetText(U"50%");
        h.ui.pbProgress.SetValue(50);
        h.form.ChangeStatus(r.code);
        EXPECT_EQ(h.Status(), r.word);
        EXPECT_EQ(h.ui.txtStatus.ForeColor(), r.color) << r.code;
        EXPECT_EQ(h.ui.txtProgress.TextRef(), r.empties ? U"" : U"50%") << r.code;
        EXPECT_EQ(h.ui.pbProgress.Value(), 50);
    }
}
