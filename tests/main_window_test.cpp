// The real window: Generate end to end through its widgets.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QTest>

#include "app/generation_strip.h"
#include "app/main_window.h"
#include "tests/doubles/scripted_message_box.h"

using namespace morvane;

namespace {

struct Window {
    ScriptedMessageBox box;
    MainWindow window{box};
    Window() {
        window.form().Form_Load();
        window.show();
        window.activateWindow();
        QApplication::processEvents();
    }
    QStringList Lines() const {
        QString text = window.rtfPasswords->toPlainText();
        QStringList lines = text.split('\n');
        if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
        return lines;
    }
};

}  // namespace

TEST(MainWindowRun, StartsReadyWithTheDefaults) {
    Window w;
    EXPECT_EQ(w.window.windowTitle(), "Morvane Password Generator");
    EXPECT_EQ(w.window.txtStatus->text(), "Ready");
    EXPECT_EQ(w.window.txtStatus->palette().color(QPalette::Text), QColor(0, 192, 0));
    EXPECT_EQ(w.window.txtMinLen->text(), "6");
    EXPECT_EQ(w.window.txtMaxLen->text(), "8");
    EXPECT_EQ(w.window.txtNum->text(), "10");
    EXPECT_TRUE(w.window.chkSpace->isChecked());
    EXPECT_FALSE(w.window.chkDuplicate->isChecked());
    EXPECT_TRUE(w.box.shown.empty());
}

TEST(MainWindowRun, GenerateButtonFillsTheListAndThePanel) {
    Window w;
    QTest::mouseClick(w.window.cmdGenerate, Qt::LeftButton);
    EXPECT_EQ(w.Lines().size(), 10);
    EXPECT_EQ(w.window.txtNumPass->text(), "10");
    EXPECT_EQ(w.window.txtProgress->text(), "100%");
    EXPECT_EQ(w.window.pbProgress->value(), 100);
    EXPECT_EQ(w.window.txtStatus->text(), "Complete");
    EXPECT_EQ(w.window.txtTimeStart->text().size(), 8);
}

TEST(MainWindowRun, EnterInAnOptionFieldGenerates) {
    Window w;
    w.window.txtNum->setFocus();
    QTest::keyClicks(w.window.txtNum, "3");  // the whole text was selected
    QTest::keyClick(w.window.txtNum, Qt::Key_Return);
    EXPECT_EQ(w.window.txtNum->text(), "3");
    EXPECT_EQ(w.Lines().size(), 3);
}

TEST(MainWindowRun, ARefusedRunFocusesTheFieldWithItsTextSelected) {
    Window w;
    w.window.txtMaxLen->setText("200");
    QTest::mouseClick(w.window.cmdGenerate, Qt::LeftButton);
    ASSERT_EQ(w.box.shown.size(), 1u);
    EXPECT_EQ(w.box.shown[0].title, "INPUT ERROR: Invalid Entry");
    EXPECT_EQ(w.window.focusWidget(), w.window.txtMaxLen);
    EXPECT_EQ(w.window.txtMaxLen->selectedText(), "200");
    EXPECT_EQ(w.window.txtStatus->text(), "Input Error");
    EXPECT_EQ(w.window.txtStatus->palette().color(QPalette::Text), QColor(192, 0, 0));
}

TEST(MainWindowRun, SpinnerStepsMoveBothLengthsInFixedLengthMode) {
    Window w;
    w.window.chkVarLen->click();
    EXPECT_EQ(w.window.txtMinLen->text(), "8");
    w.window.UpDown1->up()->click();
    EXPECT_EQ(w.window.txtMinLen->text(), "9");
    EXPECT_EQ(w.window.txtMaxLen->text(), "9");
    QTest::mouseClick(w.window.cmdGenerate, Qt::LeftButton);
    for (const QString& line : w.Lines()) EXPECT_EQ(line.size(), 9);
}

TEST(MainWindowRun, UncheckingLettersClearsBothCases) {
    Window w;
    w.window.chkLetter->click();
    EXPECT_FALSE(w.window.chkUpper->isChecked());
    EXPECT_FALSE(w.window.chkLower->isChecked());
    w.window.chkUpper->click();
    EXPECT_TRUE(w.window.chkLetter->isChecked());
}

TEST(MainWindowRun, ClearAsksAndEmpties) {
    Window w;
    QTest::mouseClick(w.window.cmdGenerate, Qt::LeftButton);
    w.box.answers = {kResultOk};
    QTest::mouseClick(w.window.cmdClear, Qt::LeftButton);
    EXPECT_EQ(w.box.shown.back().title, "Clear Passwords:");
    EXPECT_TRUE(w.window.rtfPasswords->toPlainText().isEmpty());
    EXPECT_EQ(w.window.pbProgress->value(), 0);
    EXPECT_EQ(w.window.txtStatus->text(), "Ready");
}

TEST(MainWindowRun, GenerateDuringARunNestsBetweenPasswords) {
    Window w;
    w.window.txtNum->setText("50");
    bool pressed = false;
    QObject::connect(w.window.txtNumPass, &QLineEdit::textChanged, w.window.txtNumPass, [&](const QString& t) {
        if (!t.isEmpty() && t.toInt() < 50 && !pressed) {  // the panel shows a count at a yield
            pressed = true;
            w.window.cmdGenerate->click();
        }
    });
    w.window.cmdGenerate->click();
    EXPECT_EQ(w.Lines().size(), 100);
    EXPECT_EQ(w.window.txtNumPass->text(), "100");
    EXPECT_EQ(w.window.txtStatus->text(), "Complete");
}

// Every option and command has an Alt key, and no two keys are alike in
// the window: menus, buttons, boxes and the labels of fields.
TEST(MainWindowKeys, EveryOptionAndCommandHasAnAltKeyOfItsOwn) {
    Window w;
    MainWindow& m = w.window;
    std::map<QKeySequence, QString> owners;
    const auto take = [&](const QString& caption) {
        const QKeySequence key = QKeySequence::mnemonic(caption);
        if (key.isEmpty()) return;
        EXPECT_FALSE(owners.contains(key)) << caption.toStdString() << " and " << owners[key].toStdString() << ": "
                                           << key.toString().toStdString();
        owners[key] = caption;
    };
    for (QAction* menu : m.menuBar()->actions()) take(menu->text());
    for (QAbstractButton* button : m.findChildren<QAbstractButton*>()) take(button->text());
    for (QLabel* label : m.findChildren<QLabel*>())
        if (label->buddy()) take(label->text());

    // The key takes the focus to its control; a box is also ticked or cleared.
    struct Case {
        Qt::Key key;
        QWidget* control;
    };
    for (Case c : {Case{Qt::Key_L, m.chkLetter}, {Qt::Key_U, m.chkUpper}, {Qt::Key_Z, m.chkLower},
                   {Qt::Key_0, m.chkNumber}, {Qt::Key_Exclam, m.chkSpecial}, {Qt::Key_R, m.chkOtherIn},
                   {Qt::Key_A, m.chkSpace}, {Qt::Key_K, m.chkAlike}, {Qt::Key_D, m.chkDuplicate},
                   {Qt::Key_T, m.chkOtherOut}, {Qt::Key_V, m.chkVarLen}, {Qt::Key_M, m.txtMinLen},
                   {Qt::Key_1, m.txtMaxLen}, {Qt::Key_N, m.txtNum}, {Qt::Key_W, m.generationStrip->optPasswords},
                   {Qt::Key_Y, m.generationStrip->chkEachType}}) {
        SCOPED_TRACE(c.control->accessibleName().toStdString() + c.control->objectName().toStdString());
        auto* box = qobject_cast<QCheckBox*>(c.control);
        const bool was = box && box->isChecked();
        m.rtfPasswords->setFocus();
        QTest::keyClick(&m, c.key, Qt::AltModifier);
        QApplication::processEvents();
        EXPECT_EQ(QApplication::focusWidget(), c.control);
        if (box) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return box->isChecked() != was; }, 2000));
            box->setChecked(was);
        }
    }
    for (QAbstractButton* command : {m.cmdGenerate, m.cmdSave, m.cmdPrint, m.cmdHelp, m.cmdAbout, m.cmdClear,
                                     m.cmdExit})
        EXPECT_FALSE(QKeySequence::mnemonic(command->text()).isEmpty()) << command->text().toStdString();
}
