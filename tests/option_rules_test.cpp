// Start-up state, the letter boxes and the fixed-length pairing.
#include "form_harness.h"

using namespace morvane;

TEST(StartUp, ShowsTheDefaultOptionsAndReady) {
    FormHarness h;
    for (MemoryCheckBox* on : {&h.ui.chkLetter, &h.ui.chkUpper, &h.ui.chkLower, &h.ui.chkNumber,
                               &h.ui.chkSpecial, &h.ui.chkSpace, &h.ui.chkVarLen})
        EXPECT_EQ(on->Value(), 1);
    for (MemoryCheckBox* off : {&h.ui.chkOtherIn, &h.ui.chkAlike, &h.ui.chkDuplicate, &h.ui.chkOtherOut})
        EXPECT_EQ(off->Value(), 0);
    EXPECT_EQ(h.ui.txtMinLen.TextRef(), U"6");
    EXPECT_EQ(h.ui.txtMaxLen.TextRef(), U"8");
    EXPECT_EQ(h.ui.txtNum.TextRef(), U"10");
    EXPECT_EQ(h.ui.txtOtherIn.TextRef(), U"");
    EXPECT_EQ(h.Status(), "Ready");
    EXPECT_EQ(h.ui.txtStatus.ForeColor(), (Rgb{0, 192, 0}));
    EXPECT_EQ(h.List(), "");
    for (auto& f : h.ui.frames) EXPECT_TRUE(f.Enabled());
    EXPECT_TRUE(h.ui.toolbar.Enabled());
    EXPECT_TRUE(h.box.shown.empty());
}

struct CaseRow {
    int letter, upper, lower;
    const char* action;
    int end_letter, end_upper, end_lower;
};

class LetterCaseRule : public ::testing::TestWithParam<CaseRow> {};

TEST_P(LetterCaseRule, EndsInTheTablesState) {
    CaseRow row = GetParam();
    FormHarness h;
    // Reach the starting state through the boxes themselves.
    h.ui.chkLetter.SetValue(0);
    if (row.letter) h.ui.chkLetter.SetValue(1);
    if (row.upper) h.ui.chkUpper.SetValue(1);
    if (row.lower) h.ui.chkLower.SetValue(1);
    ASSERT_EQ(h.ui.chkLetter.Value(), row.letter);
    ASSERT_EQ(h.ui.chkUpper.Value(), row.upper);
    ASSERT_EQ(h.ui.chkLower.Value(), row.lower);

    std::string action = row.action;
    MemoryCheckBox* target = action.find("Letters") != std::string::npos ? &h.ui.chkLetter
                             : action.find("Upper") != std::string::npos ? &h.ui.chkUpper
                                                                         : &h.ui.chkLower;
    target->SetValue(action.rfind("un", 0) == 0 ? 0 : 1);
    EXPECT_EQ(h.ui.chkLetter.Value(), row.end_letter);
    EXPECT_EQ(h.ui.chkUpper.Value(), row.end_upper);
    EXPECT_EQ(h.ui.chkLower.Value(), row.end_lower);
}

INSTANTIATE_TEST_SUITE_P(Table, LetterCaseRule,
                         ::testing::Values(CaseRow{1, 1, 1, "unchecks Letters", 0, 0, 0},
                                           CaseRow{1, 1, 0, "unchecks Letters", 0, 0, 0},
                                           CaseRow{0, 0, 0, "checks Letters", 1, 0, 0},
                                           CaseRow{0, 0, 0, "checks Upper", 1, 1, 0},
                                           CaseRow{1, 1, 0, "unchecks Upper", 0, 0, 0},
                                           CaseRow{1, 1, 1, "unchecks Upper", 1, 0, 1},
                                           CaseRow{1, 0, 0, "checks Lower", 1, 0, 1}));

TEST(LetterCaseRule, ClickRunsOnlyOnARealChange) {
    FormHarness h;
    int clicks = 0;
    auto inner = h.ui.chkNumber.Click;
    h.ui.chkNumber.Click = [&] { ++clicks; };
    h.ui.chkNumber.SetValue(1);  // already checked
    EXPECT_EQ(clicks, 0);
    h.ui.chkNumber.SetValue(0);
    EXPECT_EQ(clicks, 1);
}

TEST(FixedLengthRule, MinimumFollowsMaximumAndEveryEditIsCopied) {
    FormHarness h;
    h.ui.chkVarLen.SetValue(0);
    EXPECT_EQ(h.ui.txtMinLen.TextRef(), U"8");
    EXPECT_EQ(h.ui.txtMaxLen.TextRef(), U"8");

    h.ui.txtMaxLen.SetText(U"1");
    EXPECT_EQ(h.ui.txtMinLen.TextRef(), U"1");
    h.ui.txtMaxLen.SetText(U"12");
    EXPECT_EQ(h.ui.txtMinLen.TextRef(), U"12");
    h.ui.txtMaxLen.SetText(U"");
    EXPECT_EQ(h.ui.txtMinLen.TextRef(), U"");
    h.ui.txtMinLen.SetText(U"abc");
    EXPECT_EQ(h.ui.txtMaxLen.TextRef(), U"abc");

    h.ui.chkVarLen.SetValue(1);  // both keep their texts
    EXPECT_EQ(h.ui.txtMinLen.TextRef(), U"abc");
    h.ui.txtMaxLen.SetText(U"9");
    EXPECT_EQ(h.ui.txtMinLen.TextRef(), U"abc");
}

TEST(NumberFields, LeavingAFieldTrimsOuterBlanksOnly) {
    FormHarness h;
    h.ui.chkVarLen.SetValue(0);
    h.ui.txtMinLen.SetFocus();
    h.ui.txtMinLen.SetText(U" 12 ");
    h.ui.txtOtherIn.SetFocus();  // min loses the focus
    EXPECT_EQ(h.ui.txtMinLen.TextRef(), U"12");
    EXPECT_EQ(h.ui.txtMaxLen.TextRef(), U"12");

    h.ui.txtOtherIn.SetText(U" a b c ");
    h.ui.txtNum.SetFocus();
    EXPECT_EQ(h.ui.txtOtherIn.TextRef(), U"a b c");
    h.ui.txtOtherOut.SetFocus();
    h.ui.txtOtherOut.SetText(U"\tx ");
    h.ui.txtNum.SetFocus();
    EXPECT_EQ(h.ui.txtOtherOut.TextRef(), U"\tx");
}

TEST(NumberFields, EnteringAFieldSelectsItsWholeText) {
    FormHarness h;
    h.ui.txtNum.SetText(U"1234");
    h.ui.txtNum.SetFocus();
    EXPECT_EQ(h.ui.txtNum.SelStart(), 0);
    EXPECT_EQ(h.ui.txtNum.SelLength(), 4);
    h.ui.txtNum.Type(U"7");
    EXPECT_EQ(h.ui.txtNum.TextRef(), U"7");
}

TEST(NumberFields, ARefusedFocusStillSelects) {
    FormHarness h;
    h.ui.txtMaxLen.SetEnabled(false);
    h.form.txtMaxLen_GotFocus();
    EXPECT_TRUE(h.box.shown.empty());
    EXPECT_EQ(h.ui.txtMaxLen.SelLength(), 1);
}
