// Every way a press of Generate can be refused, and what the user then sees.
#include "form_harness.h"

using namespace morvane;

namespace {

// Presses Generate and expects exactly one box with this text and title.
void ExpectRefused(FormHarness& h, const std::string& text, const std::string& title,
                   const Control* focus) {
    h.form.cmdGenerate_Click();
    ASSERT_EQ(h.box.shown.size(), 1u) << title;
    EXPECT_EQ(h.box.shown[0].text, text);
    EXPECT_EQ(h.box.shown[0].title, title);
    EXPECT_EQ(h.box.shown[0].buttons, kOkOnly);
    EXPECT_EQ(h.Focused(), focus);
    EXPECT_EQ(h.Status(), "Input Error");
    EXPECT_EQ(h.ui.txtStatus.ForeColor(), (Rgb{192, 0, 0}));
    EXPECT_EQ(h.List(), "");
    EXPECT_EQ(h.ui.txtTimeStart.TextRef(), U"");
}

void ExpectSelected(const MemoryTextBox& field) {
    EXPECT_EQ(field.SelStart(), 0);
    EXPECT_EQ(field.SelLength(), static_cast<int>(field.TextRef().size()));
}

const std::string kMinMessage = "Enter a value greater than 3 but less than 129 for Min Length";
const std::string kMaxMessage = "Enter a value greater than 3 but less than 129 for Max Length";
const std::string kCountMessage =
    "Enter a value less than 2147483647 but greater than 0 for Number of Passwords";

}  // namespace

TEST(IncludeChecks, LettersWithoutACase) {
    FormHarness h;
    h.Only({});
    h.ui.chkLetter.SetValue(1);
    ExpectRefused(h, "Enter type of letters to use.\r\nUppercase or Lowercase.",
                  "INPUT ERROR: Choose Type.", &h.ui.chkUpper);
}

TEST(IncludeChecks, NothingChosen) {
    FormHarness h;
    h.Only({});
    ExpectRefused(h, "Enter at least one type of character to generate.",
                  "INPUT ERROR: Insufficient characters.", &h.ui.chkLetter);

    FormHarness k;  // an Other box with its field empty chooses nothing
    k.Only({&k.ui.chkOtherIn});
    ExpectRefused(k, "Enter at least one type of character to generate.",
                  "INPUT ERROR: Insufficient characters.", &k.ui.chkLetter);
}

TEST(IncludeChecks, AnyChosenTypePasses) {
    for (int which = 0; which < 4; ++which) {
        FormHarness h;
        h.Only({});
        if (which == 0) h.ui.chkLower.SetValue(1);
        if (which == 1) h.ui.chkNumber.SetValue(1);
        if (which == 2) h.ui.chkSpecial.SetValue(1);
        if (which == 3) {
            h.ui.chkOtherIn.SetValue(1);
            h.ui.txtOtherIn.SetText(U"k");
        }
        EXPECT_TRUE(h.form.IsInclude()) << which;
        EXPECT_TRUE(h.box.shown.empty());
    }
}

TEST(LengthChecks, MinimumOutOfRangeOrNoNumber) {
    for (const char32_t* bad : {U"3", U"129", U"128.6", U"-5", U"abc", U"   "}) {
        FormHarness h;
        h.ui.txtMinLen.SetText(bad);
        ExpectRefused(h, kMinMessage, "INPUT ERROR: Invalid Entry.", &h.ui.txtMinLen);
        ExpectSelected(h.ui.txtMinLen);
        EXPECT_EQ(h.ui.txtMinLen.TextRef(), bad);  // never corrected
    }
}

TEST(LengthChecks, MaximumOutOfRangeHasNoFullStopInItsTitle) {
    for (const char32_t* bad : {U"3", U"129", U"x8"}) {
        FormHarness h;
        h.ui.txtMaxLen.SetText(bad);
        ExpectRefused(h, kMaxMessage, "INPUT ERROR: Invalid Entry", &h.ui.txtMaxLen);
        ExpectSelected(h.ui.txtMaxLen);
    }
}

TEST(LengthChecks, BoundsAndHalvesThatPass) {
    for (auto [min, max] : {std::pair{U"4", U"128"}, {U"3.5", U"8"}, {U"6", U"128.5"}, {U" 6 ", U"8"}}) {
        FormHarness h;
        h.ui.txtMinLen.SetText(min);
        h.ui.txtMaxLen.SetText(max);
        EXPECT_TRUE(h.form.IsVerifyData()) << ToUtf8(min) << " " << ToUtf8(max);
        EXPECT_TRUE(h.box.shown.empty());
    }
}

TEST(LengthChecks, EmptyFieldsAreRefilledSilently) {
    FormHarness h;
    h.ui.txtMinLen.SetText(U"");
    h.form.cmdGenerate_Click();
    EXPECT_TRUE(h.box.shown.empty());
    EXPECT_EQ(h.Status(), "Input Error");
    EXPECT_EQ(h.ui.txtMinLen.TextRef(), U"6");
    h.ui.txtMaxLen.SetText(U"");
    h.form.cmdGenerate_Click();
    EXPECT_EQ(h.ui.txtMaxLen.TextRef(), U"8");
    EXPECT_EQ(h.ui.txtMinLen.TextRef(), U"6");  // untouched in variable length
    EXPECT_EQ(h.List(), "");
    h.form.cmdGenerate_Click();  // the next press runs
    EXPECT_EQ(h.Lines().size(), 10u);
    EXPECT_EQ(h.Status(), "Complete");
}

TEST(LengthChecks, FixedLengthWithBothEmptyFillsBothWithSix) {
    FormHarness h;
    h.ui.chkVarLen.SetValue(0);
    h.ui.txtMaxLen.SetText(U"");
    h.form.cmdGenerate_Click();
    EXPECT_EQ(h.ui.txtMinLen.TextRef(), U"6");
    EXPECT_EQ(h.ui.txtMaxLen.TextRef(), U"6");
    EXPECT_EQ(h.List(), "");
    h.form.cmdGenerate_Click();
    ASSERT_EQ(h.Lines().size(), 10u);
    for (const std::string& line : h.Lines()) EXPECT_EQ(line.size(), 6u);
}

TEST(LengthChecks, BeyondSixteenBitsIsAnErrorReportAndKeepsTheFocus) {
    FormHarness h;
    h.ui.txtNum.SetFocus();
    h.ui.txtMinLen.SetText(U"40000");
    h.form.cmdGenerate_Click();
    ASSERT_EQ(h.box.shown.size(), 1u);
    EXPECT_EQ(h.box.shown[0].title, "ERROR: IsMinLen");
    EXPECT_EQ(h.box.shown[0].text, "Overflow\r\n6\r\nMorvane");
    EXPECT_EQ(h.Focused(), &h.ui.txtNum);
    EXPECT_EQ(h.Status(), "Input Error");

    FormHarness k;
    k.ui.txtMaxLen.SetText(U"40000");
    k.form.cmdGenerate_Click();
    EXPECT_EQ(k.box.shown.at(0).title, "ERROR: IsMaxLen");
}

TEST(LengthChecks, MinimumAboveMaximumComparesTheTypedValues) {
    FormHarness h;
    h.ui.txtMinLen.SetText(U"8.4");
    h.ui.txtMaxLen.SetText(U"8.2");
    ExpectRefused(h, "Min Length should be less than or equal to Max Length.",
                  "INPUT ERROR: Invalid Entry.", &h.ui.txtMinLen);
    ExpectSelected(h.ui.txtMinLen);

    FormHarness k;
    k.ui.txtMinLen.SetText(U"8");
    EXPECT_TRUE(k.form.IsVerifyData());
}

TEST(CountChecks, BadCountsShowTheCountMessage) {
    for (const char32_t* bad : {U"0", U"-1", U"0.4", U"2147483648", U"1e12", U"ten"}) {
        FormHarness h;
        h.ui.txtNum.SetText(bad);
        ExpectRefused(h, kCountMessage, "INPUT ERROR: Invalid Entry", &h.ui.txtNum);
        ExpectSelected(h.ui.txtNum);
    }
}

TEST(CountChecks, GoodCountsAndTheEmptyField) {
    for (const char32_t* good : {U"0.6", U"1", U"2147483647"}) {
        FormHarness h;
        h.ui.txtNum.SetText(good);
        EXPECT_TRUE(h.form.IsVerifyData()) << ToUtf8(good);
    }
    FormHarness h;
    h.ui.txtNum.SetText(U"");
    h.form.cmdGenerate_Click();
    EXPECT_TRUE(h.box.shown.empty());
    EXPECT_EQ(h.ui.txtNum.TextRef(), U"10");
    EXPECT_EQ(h.Status(), "Input Error");
}

TEST(CheckOrder, OnlyTheFirstFailureIsShown) {
    FormHarness h;
    h.ui.txtMaxLen.SetText(U"200");
    h.ui.txtNum.SetText(U"0");
    ExpectRefused(h, kMaxMessage, "INPUT ERROR: Invalid Entry", &h.ui.txtMaxLen);

    FormHarness k;
    k.Only({});
    k.ui.chkLetter.SetValue(1);
    k.ui.txtMinLen.SetText(U"1");
    ExpectRefused(k, "Enter type of letters to use.\r\nUppercase or Lowercase.",
                  "INPUT ERROR: Choose Type.", &k.ui.chkUpper);
}

TEST(CheckOrder, ExclusionsNeverRefuse) {
    FormHarness h;
    h.ui.chkAlike.SetValue(1);
    h.ui.chkOtherOut.SetValue(1);
    h.ui.chkDuplicate.SetValue(1);
    EXPECT_TRUE(h.form.IsVerifyData());
}
