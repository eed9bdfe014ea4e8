#include <gtest/gtest.h>

#include <cmath>

#include "options/number_text.h"
#include "options/spinner_step.h"
#include "platform/base/runtime_error.h"

using namespace morvane;

TEST(NumericText, AcceptsSignsPointsExponentsAndSurroundingBlanks) {
    for (const char32_t* ok : {U"8", U" 12 ", U"-5", U"+7", U"3.5", U".5", U"5.", U"1e3", U"2E-2",
                               U"1.5e+2"})
        EXPECT_TRUE(IsNumericText(ok)) << ToUtf8(ok);
}

TEST(NumericText, RejectsEmptyBlanksWordsAndBrokenNumbers) {
    for (const char32_t* bad : {U"", U"   ", U"abc", U"1.2.3", U"12a", U"1 2", U"e5", U"-", U".",
                                U"\t4", U"４"})
        EXPECT_FALSE(IsNumericText(bad)) << ToUtf8(bad);
}

TEST(NumericText, LeadingValueReadsThePrefixAsDecimal) {
    EXPECT_DOUBLE_EQ(LeadingValue(U"  8.4"), 8.4);
    EXPECT_DOUBLE_EQ(LeadingValue(U"12abc"), 12);
    EXPECT_DOUBLE_EQ(LeadingValue(U"abc"), 0);
    EXPECT_DOUBLE_EQ(LeadingValue(U"1e3"), 1000);
}

TEST(NumericText, WholeValuesRoundHalvesToEvenAndOverflowBeyondTheirType) {
    EXPECT_EQ(ToInt16(3.5), 4);
    EXPECT_EQ(ToInt16(4.5), 4);
    EXPECT_EQ(ToInt16(128.5), 128);
    EXPECT_EQ(ToInt16(128.6), 129);
    EXPECT_EQ(ToInt16(-32768), -32768);
    EXPECT_THROW(ToInt16(40000), RuntimeError);
    EXPECT_EQ(ToInt32(2147483647.0), 2147483647);
    EXPECT_THROW(ToInt32(2147483648.0), RuntimeError);
    EXPECT_THROW(ToInt32(HUGE_VAL), RuntimeError);
}

TEST(Spinner, StepsFromTheFieldAndStopsAtTheEnds) {
    EXPECT_EQ(SpinnerStep(U"6", 6, 4, 128, +1), 7);
    EXPECT_EQ(SpinnerStep(U"20", 6, 4, 128, -1), 19);   // follows what was typed
    EXPECT_EQ(SpinnerStep(U"abc", 9, 4, 128, +1), 10);  // not a number: its own value
    EXPECT_EQ(SpinnerStep(U"128", 128, 4, 128, +1), 128);
    EXPECT_EQ(SpinnerStep(U"4", 4, 4, 128, -1), 4);
    EXPECT_EQ(SpinnerStep(U"2147483647", 10, 1, 2147483647, +1), 2147483647);
}
