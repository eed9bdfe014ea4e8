// What assistive technology reads of the window: a name for every control
// that says what it is for, descriptions of what a box does, the order Tab
// takes, and the changes a user must hear.
#include <QAbstractButton>
#include <QMenuBar>

#include "app/generation_strip.h"
#include "app/live_status.h"
#include "app/main_window.h"
#include "app/strength_bar.h"

namespace morvane {
namespace {

void Describe(QWidget* control, const char* name, const char* description) {
    if (name) control->setAccessibleName(QString::fromUtf8(name));
    if (description) control->setAccessibleDescription(QString::fromUtf8(description));
}

// The toolbar's buttons read as the menu entries that do the same.
constexpr std::pair<const char*, const char*> kToolbarNames[] = {
    {"Generate", "Generate"},   {"Save", "Save As"},         {"Print", "Print"},
    {"Cut", "Cut"},             {"Copy", "Copy"},            {"Paste", "Paste"},
    {"Delete", "Delete"},       {"Find", "Find"},            {"Font", "Font"},
    {"LeftAlign", "Align Left"}, {"CenterAlign", "Center"},  {"RightAlign", "Align Right"},
    {"Contents", "Help Contents"}, {"Website", "Go to website"},
};

}  // namespace

void MainWindow::NameForAssistiveTechnology() {
    // The classes are named so that they are told apart when spoken: "A-Z"
    // and "a-z" sound alike, and a list of symbols reads as noise.
    Describe(chkLetter, nullptr, "Checks or clears both kinds of letters");
    Describe(chkUpper, "Upper-case letters, A to Z", "Passwords may hold upper-case letters");
    Describe(chkLower, "Lower-case letters, a to z", "Passwords may hold lower-case letters");
    Describe(chkNumber, "Numbers, 0 to 9", "Passwords may hold digits");
    Describe(chkSpecial, "Special characters such as tilde, exclamation mark and at sign",
             "Passwords may hold the printable characters that are neither letters, digits nor the space");
    Describe(chkOtherIn, "Include other characters", "Passwords may hold the characters of the next field");
    Describe(txtOtherIn, "Other characters to include", "Characters separated by spaces");
    Describe(chkSpace, "Leave out spaces", "Passwords hold no space");
    Describe(chkAlike, "Leave out look-alikes such as zero and capital O",
             "Passwords hold no characters that look like one another");
    Describe(chkDuplicate, "Leave out duplicate passwords", "No password comes twice in a run");
    Describe(chkOtherOut, "Leave out other characters", "Passwords hold none of the characters of the next field");
    Describe(txtOtherOut, "Other characters to leave out", "Characters separated by spaces");
    Describe(chkVarLen, nullptr, "Each password's length lies between the two lengths; otherwise all are as long");

    // Fields with a label beside them are named by it.
    lblMinLen->setBuddy(txtMinLen);
    lblMaxLen->setBuddy(txtMaxLen);
    lblNumPasswords->setBuddy(txtNum);
    lblStatus->setBuddy(txtStatus);
    Label7->setBuddy(txtNumPass);
    Label4->setBuddy(txtTimeStart);
    Label5->setBuddy(txtTimeComp);
    Label6->setBuddy(txtTimeTot);
    Describe(txtProgress, "Percent done", nullptr);
    Describe(pbProgress, "Progress of the run", nullptr);
    for (auto [spinner, field] : {std::pair{UpDown1, "Min Length"}, {UpDown2, "Max Length"},
                                  {UpDown3, "Num passwords"}}) {
        spinner->setAccessibleName(QString("%1 arrows").arg(field));
        spinner->up()->setAccessibleName(QString("Increase %1").arg(field));
        spinner->down()->setAccessibleName(QString("Decrease %1").arg(field));
    }

    Describe(rtfPasswords, "Password list", "One password a line; it may be edited");
    Describe(picMorvaneLogo, "Morvane logo", nullptr);
    Describe(toolbarMain, "Toolbar", nullptr);
    Describe(menuBar(), "Menu bar", nullptr);
    Describe(strengthBar, "Status bar", nullptr);
    for (auto [key, name] : kToolbarNames)
        if (QAction* action = toolbarMain->findChild<QAction*>(key))
            if (QWidget* button = toolbarMain->widgetForAction(action)) button->setAccessibleName(name);
}

// Every option and command has an Alt key of its own, the menus' and the
// commands' first letters kept. The window's captions hold too few letters
// for all: Help? takes its question mark, Special its exclamation mark and
// two lengths a digit; the strip under the list has the two letters left
// (Passwords and One of each type) and is reached with Tab.
void MainWindow::GiveAccessKeys() {
    const std::initializer_list<std::pair<QAbstractButton*, const char*>> buttons = {
        {chkLetter, "&Letters"},           {chkUpper, "&Uppercase (A-Z)"},
        {chkLower, "Lowercase (a-&z)"},    {chkNumber, "Numbers (&0-9)"},
        {chkSpecial, "Special (~, &!,...)"}, {chkOtherIn, "Othe&r:"},
        {chkSpace, "Sp&aces"},             {chkAlike, "Loo&k-alikes (0, O,...)"},
        {chkDuplicate, "&Duplicate passwords"}, {chkOtherOut, "O&ther:"},
        {chkVarLen, "&Variable length"},   {cmdHelp, "Help&?"},
        {cmdAbout, "A&bout"},              {cmdClear, "&Clear"}};
    for (auto [button, caption] : buttons) button->setText(caption);
    lblMinLen->setText("&Min Length  (>3):");
    lblMaxLen->setText("Max Length (<&129):");
    lblNumPasswords->setText("&Num passwords:");
}

// Tab follows reading order: the option frames from the top, the list, the
// commands and the status they report, then the strip under them.
void MainWindow::SetReadingOrder() {
    const std::initializer_list<QWidget*> order = {
        chkLetter, chkUpper, chkLower, chkNumber, chkSpecial, chkOtherIn, txtOtherIn,
        chkSpace, chkAlike, chkDuplicate, chkOtherOut, txtOtherOut,
        chkVarLen, txtMinLen, txtMaxLen, txtNum,
        rtfPasswords,
        cmdGenerate, cmdSave, cmdPrint, cmdHelp, cmdAbout, cmdClear, cmdExit,
        txtProgress, txtStatus, txtNumPass, txtTimeStart, txtTimeComp, txtTimeTot,
        generationStrip->optPasswords, generationStrip->chkEachType, generationStrip->optPronounceable,
        generationStrip->spnGroups, generationStrip->optPassphrases,
        generationStrip->spnWords, generationStrip->txtSeparator, generationStrip->cboCase,
        generationStrip->spnDigits, generationStrip->cmdWordList, generationStrip->cmdBuiltInList,
        generationStrip->optSiteRules, generationStrip->txtSite, generationStrip->txtRule,
        generationStrip->spnRuleLength};
    // The status fields are read-only: Tab stops at them so that a reader
    // reads them, and passes on.
    for (QLineEdit* field : {txtProgress, txtStatus, txtNumPass, txtTimeStart, txtTimeComp, txtTimeTot})
        field->setFocusPolicy(Qt::StrongFocus);
    QWidget* previous = nullptr;
    for (QWidget* w : order) {
        if (previous) setTabOrder(previous, w);
        previous = w;
    }
}

void MainWindow::ConnectAnnouncements() {
    liveStatus = new LiveStatus(strengthBar);
    liveStatus->setObjectName("liveStatus");
    connect(txtStatus, &QLineEdit::textChanged, liveStatus, &LiveStatus::Announce);
    connect(strengthBar, &StrengthBar::LineChanged, liveStatus, &LiveStatus::Announce);
    connect(clipboardGuard, &ClipboardGuard::CountdownChanged, liveStatus, [this](int left) {
        // The start of a countdown and its end, not every second of it.
        if (left > 0 && (clipboard_seconds_left_ == 0 || left > clipboard_seconds_left_)) {
            liveStatus->Announce(QString("Clipboard clears in %1 s").arg(left));
            clipboard_clear_failed_ = false;
        } else if (left == 0 && clipboard_seconds_left_ > 0 && !clipboard_clear_failed_) {
            liveStatus->Announce(QStringLiteral("Clipboard cleared"));
        }
        clipboard_seconds_left_ = left;
    });
    connect(clipboardGuard, &ClipboardGuard::ClearingFailed, liveStatus, [this](const QString& message) {
        clipboard_clear_failed_ = true;
        liveStatus->Announce(message);
    });
}

}  // namespace morvane
