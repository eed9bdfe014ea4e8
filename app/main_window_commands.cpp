// The menu bar, the toolbar, closing, and the routing of every command.
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QTextBlock>

#include "about/frm_about.h"
#include "platform/qt/artwork.h"
#include "app/main_window.h"
#include "app/qr_window.h"
#include "engine/rand.h"
#include "app/generation_strip.h"
#include "app/mod_main.h"
#include "app/live_status.h"
#include "app/profiles_menu.h"
#include "app/strength_bar.h"
#include "app/window_place.h"
#include "edit/secret_text_edit.h"
#include "platform/qt/qt_text.h"

namespace morvane {
namespace {

QAction* Entry(QMenu* menu, const char* name, const char* caption, QKeySequence key = {}) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    if (!key.isEmpty()) {
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
    }
    return action;
}

struct ToolbarButton {
    const char* key;
    const char* tooltip;
    const char* description;
    void (MainWindow::*command)();
};

constexpr ToolbarButton kButtons[] = {
    {"Generate", "Generate Password", "Generate Password", &MainWindow::Generate},
    {"Save", "Save password list to file", "Save password list to file", &MainWindow::cmdSave_Click},
    {"Print", "Print password list", "Print password list", &MainWindow::cmdPrint_Click},
    {"Cut", "Cuts selection to clipboard", "Cuts selection to clipboard", &MainWindow::mnuCut_Click},
    {"Copy", "Copy selection to clipboard", "Copy selection to clipboard", &MainWindow::mnuCopy_Click},
    {"Paste", "Pastes from clipboard", "Pastes from clipboard", &MainWindow::mnuPaste_Click},
    {"Delete", "Deletes selection", "Deletes selection", &MainWindow::mnuDelete_Click},
    {"Find", "Find search string", "Finds search string", &MainWindow::mnuFind_Click},
    {"Font", "Change Font properties", "Change Font properties", &MainWindow::mnuFont_Click},
    {"LeftAlign", "Align selection to left of margin", "Align selection to left of margin",
     &MainWindow::mnuAlignLeft_Click},
    {"CenterAlign", "Align selection to center of margin", "Align selection to center of margin",
     &MainWindow::mnuAlignCenter_Click},
    {"RightAlign", "Align selection to right of margin", "Align selection to right of margin",
     &MainWindow::mnuAlignRight_Click},
    {"Contents", "Displays Help contents", "Displays Help contents", &MainWindow::HTMLHelpContents},
    {"Website", "Go to website", "Go to website", &MainWindow::mnuWebsite_Click},
};

// How long the status bar says a profile was saved.
constexpr int kSavedMessageMs = 5000;

}  // namespace

void MainWindow::BuildMenus() {
    QMenuBar* bar = menuBar();
    mnuFile = bar->addMenu("&File");
    mnuFile->setObjectName("mnuFile");
    mnuGenerate = Entry(mnuFile, "mnuGenerate", "&Generate", Qt::CTRL | Qt::Key_G);
    mnuStop = Entry(mnuFile, "mnuStop", "S&top Generating", Qt::Key_Escape);
    mnuStop->setStatusTip("Ends the run going on; the passwords made so far stay");
    mnuFile->addSeparator()->setObjectName("mnuJunk1");
    mnuSave = Entry(mnuFile, "mnuSave", "&Save As", Qt::CTRL | Qt::Key_S);
    mnuPrint = Entry(mnuFile, "mnuPrint", "&Print", Qt::CTRL | Qt::Key_P);
    mnuFile->addSeparator()->setObjectName("mnuJunk2");
    mnuExit = Entry(mnuFile, "mnuExit", "E&xit", Qt::CTRL | Qt::Key_Q);

    mnuEdit = bar->addMenu("&Edit");
    mnuEdit->setObjectName("mnuEdit");
    mnuCut = Entry(mnuEdit, "mnuCut", "Cu&t", Qt::CTRL | Qt::Key_X);
    mnuCopy = Entry(mnuEdit, "mnuCopy", "&Copy", Qt::CTRL | Qt::Key_C);
    mnuPaste = Entry(mnuEdit, "mnuPaste", "&Paste", Qt::CTRL | Qt::Key_V);
    mnuDelete = Entry(mnuEdit, "mnuDelete", "&Delete", Qt::Key_Delete);
    mnuEdit->addSeparator()->setObjectName("mnuJunk3");
    mnuClear = Entry(mnuEdit, "mnuClear", "C&lear", Qt::CTRL | Qt::Key_N);
    mnuSelectAll = Entry(mnuEdit, "mnuSelectAll", "Select &All", Qt::CTRL | Qt::Key_A);
    mnuClipboardDelay = Entry(mnuEdit, "mnuClipboardDelay", "Clear Clip&board After...");
    mnuShowQr = Entry(mnuEdit, "mnuShowQr", "Show as &QR Code", Qt::CTRL | Qt::SHIFT | Qt::Key_Q);
    mnuEdit->addSeparator()->setObjectName("mnuJunk4");
    mnuFind = Entry(mnuEdit, "mnuFind", "&Find", Qt::CTRL | Qt::Key_F);
    mnuReplace = Entry(mnuEdit, "mnuReplace", "&Replace", Qt::CTRL | Qt::Key_H);

    mnuFormat = bar->addMenu("F&ormat");
    mnuFormat->setObjectName("mnuFormat");
    mnuFont = Entry(mnuFormat, "mnuFont", "&Font");
    mnuAlign = mnuFormat->addMenu("&Alignment");
    mnuAlign->setObjectName("mnuAlign");
    mnuAlignLeft = Entry(mnuAlign, "mnuAlignLeft", "&Left");
    mnuAlignCenter = Entry(mnuAlign, "mnuAlignCenter", "&Center");
    mnuAlignRight = Entry(mnuAlign, "mnuAlignRight", "&Right");

    mnuProfiles = new ProfilesMenu(this, box_, generationStrip->sites(),
                                   [this](std::string& why) { return OptionsForProfile(why); });
    bar->addMenu(mnuProfiles);
    connect(mnuProfiles, &ProfilesMenu::Chosen, this, &MainWindow::TakeProfile);
    connect(mnuProfiles, &ProfilesMenu::Saved, this, [this](const QString& name) {
        const QString said = "Profile " + name + " saved.";
        strengthBar->showMessage(said, kSavedMessageMs);
        liveStatus->Announce(said);
    });

    mnuHelp = bar->addMenu("&Help");
    mnuHelp->setObjectName("mnuHelp");
    mnuContents = Entry(mnuHelp, "mnuContents", "&Contents", Qt::Key_F1);
    mnuHelp->addSeparator()->setObjectName("mnuJunk5");
    mnuWebsite = Entry(mnuHelp, "mnuWebsite", "&Go to website");
    mnuHelp->addSeparator()->setObjectName("mnuJunk6");
    mnuAbout = Entry(mnuHelp, "mnuAbout", "&About");
}

void MainWindow::BuildToolbar(QWidget* client) {
    toolbarMain = new QToolBar(client);
    toolbarMain->setObjectName("toolbarMain");
    toolbarMain->setIconSize(QSize(16, 16));
    toolbarMain->setMovable(false);
    toolbarMain->setFloatable(false);
    toolbarMain->setGeometry(0, 0, Px(10440), Px(420));
    const int separators_before[] = {1, 4, 9, 13};
    int position = 0;
    toolbarMain->addSeparator();
    for (const ToolbarButton& b : kButtons) {
        ++position;
        for (int s : separators_before)
            if (s == position && s != 1) toolbarMain->addSeparator();
        QAction* action = toolbarMain->addAction(QIcon(ToolbarImage(position)), b.key);
        action->setObjectName(b.key);
        action->setToolTip(b.tooltip);
        action->setStatusTip(b.description);
        connect(action, &QAction::triggered, this, b.command);
    }
    toolbarMain->addSeparator();
}

void MainWindow::ConnectCommands() {
    auto on = [this](auto* source, auto signal, void (MainWindow::*handler)()) {
        connect(source, signal, this, [this, handler] { (this->*handler)(); });
    };
    on(cmdGenerate, &QPushButton::clicked, &MainWindow::Generate);
    on(cmdSave, &QPushButton::clicked, &MainWindow::cmdSave_Click);
    on(cmdPrint, &QPushButton::clicked, &MainWindow::cmdPrint_Click);
    on(cmdHelp, &QPushButton::clicked, &MainWindow::cmdHelp_Click);
    on(cmdAbout, &QPushButton::clicked, &MainWindow::cmdAbout_Click);
    connect(cmdClear, &QPushButton::clicked, this, [this] {
        form_->cmdClear_Click();
        // Lines selected before stay no longer in the primary selection.
        if (rtfPasswords->document()->isEmpty()) clipboardGuard->ClearSelectionNow();
    });
    on(cmdExit, &QPushButton::clicked, &MainWindow::cmdExit_Click);

    on(mnuGenerate, &QAction::triggered, &MainWindow::mnuGenerate_Click);
    connect(mnuStop, &QAction::triggered, this, [this] { form_->StopRun(); });
    on(mnuSave, &QAction::triggered, &MainWindow::mnuSave_Click);
    on(mnuPrint, &QAction::triggered, &MainWindow::mnuPrint_Click);
    on(mnuExit, &QAction::triggered, &MainWindow::mnuExit_Click);
    on(mnuCut, &QAction::triggered, &MainWindow::mnuCut_Click);
    on(mnuCopy, &QAction::triggered, &MainWindow::mnuCopy_Click);
    on(mnuPaste, &QAction::triggered, &MainWindow::mnuPaste_Click);
    on(mnuDelete, &QAction::triggered, &MainWindow::mnuDelete_Click);
    on(mnuClear, &QAction::triggered, &MainWindow::mnuClear_Click);
    on(mnuSelectAll, &QAction::triggered, &MainWindow::mnuSelectAll_Click);
    on(mnuClipboardDelay, &QAction::triggered, &MainWindow::mnuClipboardDelay_Click);
    on(mnuFind, &QAction::triggered, &MainWindow::mnuFind_Click);
    on(mnuShowQr, &QAction::triggered, &MainWindow::ShowAsQrCode);
    if (auto* list = qobject_cast<SecretTextEdit*>(rtfPasswords)) list->AddToMenu(mnuShowQr);
    // Clear takes the code with the list.
    connect(rtfPasswords, &QTextEdit::textChanged, this, [this] {
        if (qr_window_ && rtfPasswords->document()->isEmpty()) qr_window_->close();
    });
    on(mnuReplace, &QAction::triggered, &MainWindow::mnuReplace_Click);
    on(mnuFont, &QAction::triggered, &MainWindow::mnuFont_Click);
    on(mnuAlignLeft, &QAction::triggered, &MainWindow::mnuAlignLeft_Click);
    on(mnuAlignCenter, &QAction::triggered, &MainWindow::mnuAlignCenter_Click);
    on(mnuAlignRight, &QAction::triggered, &MainWindow::mnuAlignRight_Click);
    on(mnuContents, &QAction::triggered, &MainWindow::mnuContents_Click);
    on(mnuWebsite, &QAction::triggered, &MainWindow::mnuWebsite_Click);
    on(mnuAbout, &QAction::triggered, &MainWindow::mnuAbout_Click);
    picMorvaneLogo->installEventFilter(this);
}

// A button by its key, as the toolbar names them.
void MainWindow::toolbarMain_ButtonClick(const QString& key) {
    Trap("toolbarMain_ButtonClick", [&] {
        for (const ToolbarButton& b : kButtons)
            if (key == b.key) return (this->*b.command)();
        box_.Show("DONT GET THIS MESSAGE", kOkOnly, "");
    });
}

void MainWindow::mnuGenerate_Click() { Generate(); }
void MainWindow::cmdSave_Click() { form_->cmdSave_Click(); }
void MainWindow::cmdPrint_Click() { form_->cmdPrint_Click(); }
void MainWindow::mnuSave_Click() { Trap("mnuSave_Click", [&] { cmdSave_Click(); }); }
void MainWindow::mnuPrint_Click() { Trap("mnuPrint_Click", [&] { cmdPrint_Click(); }); }
void MainWindow::mnuClear_Click() { Trap("mnuClear_Click", [&] { form_->ClearPasswords(); }); }
void MainWindow::cmdExit_Click() { Trap("cmdExit_Click", [&] { close(); }); }
void MainWindow::mnuExit_Click() { Trap("mnuExit_Click", [&] { close(); }); }

void MainWindow::HTMLHelpContents() { HtmlHelp(*help_, HelpFileName(services_.program_folder), kHelpDisplayToc, 0); }
void MainWindow::HTMLHelpIndex() { HtmlHelp(*help_, HelpFileName(services_.program_folder), kHelpDisplayIndex, 0); }
void MainWindow::HTMLShowTopic(long lngTopicID) {
    HtmlHelp(*help_, HelpFileName(services_.program_folder), kHelpContextNumber, lngTopicID);
}
void MainWindow::cmdHelp_Click() { Trap("cmdHelp_Click", [&] { HTMLHelpContents(); }); }
// F1 opens the section about the control that has the focus.
void MainWindow::mnuContents_Click() {
    const QWidget* asked_in = help_asked_in_;
    help_asked_in_ = nullptr;
    const std::string section = asked_in ? HelpSectionOf(asked_in) : std::string();
    if (section.empty()) return cmdHelp_Click();
    Trap("mnuContents_Click", [&] { ShowHelpSection(*help_, HelpFileName(services_.program_folder), section); });
}

std::string MainWindow::HelpSectionOf(const QWidget* control) const {
    const auto within = [control](const QWidget* area) { return area && (area == control || area->isAncestorOf(control)); };
    const GenerationStrip* strip = generationStrip;
    if (within(fraInclude) || within(fraExclude)) return "options";
    if (within(fraSize)) return "values";
    if (within(fraPasswords)) return "list";
    if (within(fraCommands) || within(fraStatus)) return "generate";
    for (const QWidget* rule :
         std::initializer_list<const QWidget*>{strip->optSiteRules, strip->txtSite, strip->txtRule, strip->spnRuleLength})
        if (control == rule) return "siterules";
    if (control == strip->chkEachType) return "eachtype";
    if (control == strip->optPronounceable || control == strip->spnGroups) return "pronounceable";
    if (within(generationStrip)) return "passphrases";
    return {};
}
void MainWindow::mnuWebsite_Click() { Trap("mnuWebsite_Click", [&] { OpenWebsite(*desktop_, box_); }); }
void MainWindow::picMorvaneLogo_Click() {
    Trap("picMorvaneLogo_Click", [&] { OpenWebsite(*desktop_, box_); });
}

void MainWindow::ShowAbout() {
    // Created afresh for every showing, unloaded when closed.
    frmAbout about(this, AboutServices{&box_, desktop_, services_.registry, services_.start_program});
    services_.show_modal(about);
}
void MainWindow::mnuAbout_Click() { Trap("mnuAbout_Click", [&] { ShowAbout(); }); }
void MainWindow::cmdAbout_Click() { Trap("cmdAbout_Click", [&] { ShowAbout(); }); }

bool MainWindow::Form_Unload() {
    bool confirmed = false;
    Trap("Form_Unload", [&] {
        confirmed = box_.Show("Are you sure you want to close Morvane?", kYesNo, "Exit Morvane:") ==
                    kResultYes;
    });
    if (confirmed) {
        if (qr_window_) qr_window_->close();  // and wiped
        KeepWindowPlace(this);
        clipboardGuard->ClearNow();  // copied passwords do not outlive the program
        Randomize();
        services_.end_program();
    }
    return confirmed;
}

// The password of the cursor's line, or of the one line selected, as a QR
// code in a window of its own; one at a time, and never more than a line.
void MainWindow::ShowAsQrCode() {
    const QTextCursor cursor = rtfPasswords->textCursor();
    const auto refuse = [this](const QString& why) {
        const QString said = "Show as QR Code: " + why;
        strengthBar->showMessage(said, kSavedMessageMs);
        liveStatus->Announce(said);
    };
    if (cursor.hasSelection() && cursor.selectedText().contains(QChar::ParagraphSeparator))
        return refuse("select one line only, or put the cursor on it");
    QString password = cursor.block().text();
    if (password.isEmpty()) return refuse("put the cursor on a password's line first");
    if (qr_window_) qr_window_->close();
    auto* shown = new QrWindow(this, password, clipboardGuard->delay());
    WipeQString(password);  // the window holds the one copy
    qr_window_ = shown;
    shown->show();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (Form_Unload()) event->accept();
    else event->ignore();
}

}  // namespace morvane
