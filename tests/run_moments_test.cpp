// What the panel and the focus show at the moments in between: while a run
// is under way, and while a message box is open.
#include "form_harness.h"

using namespace morvane;

namespace {

struct Moment {
    std::string status;
    Rgb color;
    const Control* focus;
    std::string title;
};

}  // namespace

TEST(RunMoments, TheStatusColourIsSetBeforeItsWord) {
    FormHarness h;
    std::vector<std::pair<std::string, Rgb>> seen;
    h.ui.txtStatus.Change = [&] { seen.push_back({h.Status(), h.ui.txtStatus.ForeColor()}); };
    h.form.ChangeStatus(10);
    h.form.ChangeStatus(5);
    h.form.ChangeStatus(2);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0], (std::pair<std::string, Rgb>{"Input Error", {192, 0, 0}}));
    EXPECT_EQ(seen[1], (std::pair<std::string, Rgb>{"Building...", {0, 0, 128}}));
    EXPECT_EQ(seen[2], (std::pair<std::string, Rgb>{"Complete", {0, 192, 0}}));
}

TEST(RunMoments, DuringARunTheCompletionTimeIsEmptyAndTheOldTotalStays) {
    FormHarness h;
    h.manual_clock = true;
    h.form.cmdGenerate_Click();
    ASSERT_EQ(h.ui.txtTimeTot.TextRef(), U"0");
    h.ui.txtTimeTot.SetText(U"41");  // as a long earlier run would leave it
    std::u32string comp_while_building = U"unset", total_while_building;
    h.ui.txtStatus.Change = [&] {
        if (h.Status() == "Building...") {
            comp_while_building = h.ui.txtTimeComp.TextRef();
            total_while_building = h.ui.txtTimeTot.TextRef();
        }
    };
    h.form.cmdGenerate_Click();
    EXPECT_EQ(comp_while_building, U"");
    EXPECT_EQ(total_while_building, U"41");
    EXPECT_EQ(h.ui.txtTimeTot.TextRef(), U"0");
    EXPECT_EQ(h.ui.txtTimeComp.TextRef().size(), 8u);
}

TEST(RunMoments, AMessageBoxOpensWithTheFocusAlreadyOnTheFieldAndTheStatusUnchanged) {
    struct Case {
        const char* name;
        std::function<void(FormHarness&)> set_up;
        std::function<const Control*(FormHarness&)> field;
        const char* title;
    };
    const std::vector<Case> cases = {
        {"min length", [](FormHarness& h) { h.ui.txtMinLen.SetText(U"3"); },
         [](FormHarness& h) -> const Control* { return &h.ui.txtMinLen; }, "INPUT ERROR: Invalid Entry."},
        {"max length", [](FormHarness& h) { h.ui.txtMaxLen.SetText(U"200"); },
         [](FormHarness& h) -> const Control* { return &h.ui.txtMaxLen; }, "INPUT ERROR: Invalid Entry"},
        {"count", [](FormHarness& h) { h.ui.txtNum.SetText(U"0"); },
         [](FormHarness& h) -> const Control* { return &h.ui.txtNum; }, "INPUT ERROR: Invalid Entry"},
        {"possible number",
         [](FormHarness& h) {
             h.Only({&h.ui.chkNumber});
             h.ui.chkVarLen.SetValue(0);
             h.ui.txtMinLen.SetText(U"4");
             h.ui.chkDuplicate.SetValue(1);
             h.ui.txtNum.SetText(U"10001");
         },
         [](FormHarness& h) -> const Control* { return &h.ui.txtNum; }, "INPUT ERROR: Number of passwords."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FormHarness h;
        c.set_up(h);
        h.ui.chkLetter.SetFocus();
        std::vector<Moment> moments;
        h.box.on_show = [&](const ShownBox& box) {
            moments.push_back({h.Status(), h.ui.txtStatus.ForeColor(), h.Focused(), box.title});
        };
        h.form.cmdGenerate_Click();
        ASSERT_EQ(moments.size(), 1u);
        EXPECT_EQ(moments[0].title, c.title);
        EXPECT_EQ(moments[0].focus, c.field(h));
        EXPECT_EQ(moments[0].status, "Ready");  // the status changes only after the box
        EXPECT_EQ(moments[0].color, (Rgb{0, 192, 0}));
    }
}

TEST(RunMoments, ThePossibleNumberCheckLeavesTheStatusToTheEndOfTheRun) {
    FormHarness h;
    h.Only({&h.ui.chkNumber});
    h.ui.chkVarLen.SetValue(0);
    h.ui.txtMinLen.SetText(U"4");
    h.ui.chkDuplicate.SetValue(1);
    h.ui.txtNum.SetText(U"10001");
    std::vector<std::string> statuses;
    h.ui.txtStatus.Change = [&] { statuses.push_back(h.Status()); };
    h.form.cmdGenerate_Click();
    EXPECT_EQ(statuses, std::vector<std::string>{"Complete"});
    EXPECT_EQ(h.box.shown.at(0).text,
              "Maximum number of passwords possible is 10000\r\nPlease change your number of passwords.");
}

TEST(RunMoments, ThePoolHoldsAtMost32767Entries) {
    for (int entries : {32767, 32768}) {
        SCOPED_TRACE(entries);
        FormHarness h;
        h.Only({&h.ui.chkOtherIn});
        h.ui.chkSpace.SetValue(1);  // no blank in the pool
        h.ui.txtOtherIn.SetText(Text(static_cast<size_t>(entries), U'x'));
        h.ui.txtNum.SetText(U"3");
        h.form.cmdGenerate_Click();
        if (entries == 32767) {
            EXPECT_EQ(h.form.arrCharacters().size(), 32767u);
            EXPECT_EQ(h.Lines().size(), 3u);
            EXPECT_TRUE(h.box.shown.empty());
        } else {
            EXPECT_TRUE(h.Lines().empty());
            ASSERT_EQ(h.box.shown.size(), 1u);
            EXPECT_EQ(h.box.shown[0].title, "ERROR: IsCreateArray");
        }
    }
}
