// The pool a run draws from: classes, Other characters and exclusions.
#include <algorithm>

#include "engine/character_codes.h"
#include "form_harness.h"

using namespace morvane;

namespace {

size_t Occurrences(const Pool& pool, char32_t c) { return std::count(pool.begin(), pool.end(), c); }

}  // namespace

TEST(CharacterPool, DefaultsGiveSpecialsDigitsAndBothCases) {
    FormHarness h;
    ASSERT_TRUE(h.form.IsCreateArray());
    const Pool& pool = h.form.arrCharacters();
    ASSERT_EQ(pool.size(), 94u);
    EXPECT_EQ(pool[0], 33u);
    EXPECT_EQ(pool[31], 126u);
    EXPECT_EQ(pool[32], U'0');
    EXPECT_EQ(pool[42], U'A');
    EXPECT_EQ(pool[93], 122u);
}

TEST(CharacterPool, StartsWithOneEntryBeforeAnyRun) {
    FormHarness h;
    EXPECT_EQ(h.form.arrCharacters(), Pool{0});
}

TEST(CharacterPool, SpaceAndSingleClasses) {
    FormHarness h;
    h.ui.chkSpace.SetValue(0);
    ASSERT_TRUE(h.form.IsCreateArray());
    EXPECT_EQ(h.form.arrCharacters().size(), 95u);
    EXPECT_EQ(h.form.arrCharacters()[0], U' ');

    h.ui.chkSpace.SetValue(1);
    h.Only({&h.ui.chkNumber});
    ASSERT_TRUE(h.form.IsCreateArray());
    EXPECT_EQ(h.form.arrCharacters(), (Pool{'0', '1', '2', '3', '4', '5', '6', '7', '8', '9'}));
}

TEST(CharacterPool, OtherCharactersAreSplitAtBlanksAndKeepRepeats) {
    FormHarness h;
    h.Only({&h.ui.chkLower, &h.ui.chkOtherIn});
    h.ui.txtOtherIn.SetText(U"x y z");
    ASSERT_TRUE(h.form.IsCreateArray());
    EXPECT_EQ(h.form.arrCharacters().size(), 29u);
    EXPECT_EQ(Occurrences(h.form.arrCharacters(), U'x'), 2u);

    h.Only({&h.ui.chkSpecial, &h.ui.chkOtherIn});
    h.ui.txtOtherIn.SetText(U"##");
    ASSERT_TRUE(h.form.IsCreateArray());
    EXPECT_EQ(Occurrences(h.form.arrCharacters(), U'#'), 3u);

    EXPECT_EQ(GetOther(U"ab  c"), (Pool{'a', 'b', 'c'}));
    EXPECT_EQ(GetOther(U"a b c"), (Pool{'a', 'b', 'c'}));
    EXPECT_TRUE(GetOther(U"    ").empty());
    EXPECT_EQ(GetOther(U"\ta"), (Pool{'\t', 'a'}));
}

TEST(CharacterPool, SpaceWithOnlyOtherCharacters) {
    FormHarness h;
    h.Only({&h.ui.chkOtherIn});
    h.ui.chkSpace.SetValue(0);
    h.ui.txtOtherIn.SetText(U"q r");
    ASSERT_TRUE(h.form.IsCreateArray());
    EXPECT_EQ(h.form.arrCharacters(), (Pool{' ', 'q', 'r'}));
}

TEST(CharacterPool, GrayedBoxesCountAsNotSelected) {
    FormHarness h;
    h.ui.chkSpace.SetValue(2);
    h.ui.chkNumber.SetValue(2);
    ASSERT_TRUE(h.form.IsCreateArray());
    EXPECT_EQ(Occurrences(h.form.arrCharacters(), U' '), 0u);
    EXPECT_EQ(Occurrences(h.form.arrCharacters(), U'5'), 0u);
    EXPECT_EQ(h.form.arrCharacters().size(), 84u);
}

TEST(CharacterPool, NonAsciiOtherCharactersStayWhole) {
    FormHarness h;
    h.Only({&h.ui.chkOtherIn});
    h.ui.txtOtherIn.SetText(T("é ß € 😀 中"));
    ASSERT_TRUE(h.form.IsCreateArray());
    EXPECT_EQ(h.form.arrCharacters(), (Pool{U'é', U'ß', U'€', U'😀', U'中'}));
    h.ui.txtNum.SetText(U"50");
    h.form.cmdGenerate_Click();
    ASSERT_EQ(h.Lines().size(), 50u);
    for (const std::string& line : h.Lines()) {
        Text t = FromUtf8(line);
        for (char32_t c : t) EXPECT_NE(std::find(h.form.arrCharacters().begin(),
                                                 h.form.arrCharacters().end(), c),
                                       h.form.arrCharacters().end());
    }
}

TEST(CharacterPool, HugeOtherTextIsReportedNotCrashed) {
    FormHarness h;
    h.Only({&h.ui.chkOtherIn});
    h.ui.txtOtherIn.SetText(Text(40000, U'k'));
    h.form.cmdGenerate_Click();
    ASSERT_EQ(h.box.shown.size(), 1u);
    EXPECT_EQ(h.box.shown[0].title, "ERROR: IsCreateArray");
    EXPECT_EQ(h.box.shown[0].text, "Overflow\r\n6\r\nMorvane");
    EXPECT_EQ(h.List(), "");
    EXPECT_EQ(h.Status(), "Complete");
}

TEST(CharacterPool, BlankOnlyOtherAsTheOnlySourceIsReported) {
    FormHarness h;
    h.Only({&h.ui.chkOtherIn});
    h.ui.txtOtherIn.SetText(U"   ");  // not yet trimmed: the field kept the focus
    h.form.cmdGenerate_Click();
    ASSERT_EQ(h.box.shown.size(), 1u);
    EXPECT_EQ(h.box.shown[0].title, "ERROR: IsCreateArray");
    EXPECT_EQ(h.List(), "");
}

TEST(PoolExclusions, LookAlikesAndOwnCharactersLeaveTheRest) {
    FormHarness h;
    h.ui.chkAlike.SetValue(1);
    ASSERT_TRUE(h.form.IsCreateArray());
    EXPECT_EQ(h.form.arrCharacters().size(), 83u);
    for (char32_t c : Text(U"1I|l0oO`'B8")) EXPECT_EQ(Occurrences(h.form.arrCharacters(), c), 0u);

    h.Only({&h.ui.chkNumber});
    ASSERT_TRUE(h.form.IsCreateArray());
    Pool digits = h.form.arrCharacters();
    std::sort(digits.begin(), digits.end());
    EXPECT_EQ(digits, (Pool{'2', '3', '4', '5', '6', '7', '9'}));

    h.ui.chkAlike.SetValue(0);
    h.Only({&h.ui.chkLower});
    h.ui.chkOtherOut.SetValue(1);
    h.ui.txtOtherOut.SetText(U"a e i o u");
    ASSERT_TRUE(h.form.IsCreateArray());
    EXPECT_EQ(h.form.arrCharacters().size(), 21u);

    h.ui.txtOtherOut.SetText(U"# $ %");  // not in the pool: no effect
    ASSERT_TRUE(h.form.IsCreateArray());
    EXPECT_EQ(h.form.arrCharacters().size(), 26u);
}

TEST(PoolExclusions, EveryCopyOfAnExcludedCharacterGoes) {
    FormHarness h;
    h.Only({&h.ui.chkLower, &h.ui.chkOtherIn});
    h.ui.txtOtherIn.SetText(U"q q");
    h.ui.chkOtherOut.SetValue(1);
    h.ui.txtOtherOut.SetText(U"q");
    ASSERT_TRUE(h.form.IsCreateArray());
    EXPECT_EQ(Occurrences(h.form.arrCharacters(), U'q'), 0u);
    EXPECT_EQ(h.form.arrCharacters().size(), 25u);
}

TEST(PoolExclusions, AnEmptiedPoolIsAnInputError) {
    FormHarness h;
    h.Only({&h.ui.chkNumber});
    h.ui.chkOtherOut.SetValue(1);
    h.ui.txtOtherOut.SetText(U"0 1 2 3 4 5 6 7 8 9");
    h.form.cmdGenerate_Click();
    ASSERT_EQ(h.box.shown.size(), 1u);
    EXPECT_EQ(h.box.shown[0].title, "INPUT ERROR: Exclude Other.");
    EXPECT_EQ(h.box.shown[0].text,
              "Exclude string includes all characters to include.\r\n"
              "Please change your exclude other string.");
    EXPECT_EQ(h.Focused(), &h.ui.txtOtherOut);
    EXPECT_EQ(h.List(), "");
    EXPECT_EQ(h.Status(), "Complete");  // the run still ends

    FormHarness k;
    k.Only({&k.ui.chkOtherIn});
    k.ui.txtOtherIn.SetText(U"0 O 1");
    k.ui.chkAlike.SetValue(1);
    EXPECT_FALSE(k.form.IsCreateArray());
    EXPECT_EQ(k.box.shown.at(0).title, "INPUT ERROR: Exclude Other.");
    EXPECT_EQ(k.Status(), "Input Error");
    EXPECT_EQ(k.Focused(), &k.ui.txtOtherOut);
}

TEST(PoolExclusions, EmptyExcludeFieldExcludesNothing) {
    FormHarness h;
    h.ui.chkOtherOut.SetValue(1);
    h.form.cmdGenerate_Click();
    EXPECT_TRUE(h.box.shown.empty());
    EXPECT_EQ(h.Lines().size(), 10u);
}
