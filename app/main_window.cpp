#include "app/main_window.h"

#include <QTimer>
#include "app/profiles_menu.h"
#include "platform/qt/qt_display_scrub.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontInfo>
#include <QKeyEvent>
#include <QClipboard>
#include <QMouseEvent>
#include <QTextCursor>
#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QScrollBar>
#include <QStyle>
#include <QAbstractSpinBox>
#include <QProcess>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>
#include <QStandardPaths>
#include <cstdio>
#include <cstdlib>

#include "options/spinner_step.h"
#include "platform/qt/artwork.h"
#include "app/client_growth.h"
#include "app/generation_strip.h"
#include "app/live_status.h"
#include "app/strength_bar.h"
#include "edit/secret_text_edit.h"
#include "platform/qt/qt_desktop.h"
#include "platform/qt/qt_pending_events.h"
#include "platform/qt/qt_text_fit.h"
#include "platform/qt/qt_text.h"

namespace morvane {
namespace {

const QColor kLightGrey(224, 224, 224);
const QString kNotFoundMessage = QStringLiteral("Not found");

QGroupBox* Frame(QWidget* parent, const char* caption, QColor background, const char* tip) {
    auto* frame = new QGroupBox(QString::fromUtf8(caption), parent);
    frame->setAutoFillBackground(true);
    QPalette p = frame->palette();
    p.setColor(QPalette::Window, background);
    frame->setPalette(p);
    if (tip) frame->setToolTip(tip);
    return frame;
}

QCheckBox* Box(QWidget* parent, const char* caption, const char* tip, int left, int top, int width) {
    auto* box = new QCheckBox(caption, parent);
    box->setToolTip(tip);
    Place(box, left, top, width, 255);
    return box;
}

QLineEdit* Field(QWidget* parent, const char* tip, int left, int top, int width, int height = 285) {
    auto* field = new QLineEdit(parent);
    if (tip) field->setToolTip(tip);
    Place(field, left, top, width, height);
    return field;
}

QLabel* Label(QWidget* parent, const char* caption, int left, int top, int width, int height) {
    auto* label = new QLabel(caption, parent);
    Place(label, left, top, width, height);
    return label;
}

QLineEdit* PanelField(QWidget* parent, int left, int top, int width, int height,
                      Qt::Alignment align) {
    auto* field = new QLineEdit(parent);
    field->setReadOnly(true);
    field->setFrame(false);
    field->setAlignment(align | Qt::AlignVCenter);
    field->setFocusPolicy(Qt::ClickFocus);
    field->setTextMargins(0, 0, 0, 0);
    field->setContentsMargins(0, 0, 0, 0);
    Place(field, left, top, width, height);
    return field;
}

QPushButton* Button(QWidget* parent, const char* caption, const char* tip, int left, int top,
                    int width, const char* font) {
    auto* button = new QPushButton(caption, parent);
    if (tip) button->setToolTip(tip);
    QFont f(font);
    f.setPointSizeF(8.25);
    f.setBold(true);
    button->setFont(f);
    Place(button, left, top, width, 375);
    return button;
}

// A spinner's steps within its field's range.
QtSpinner::NextValue StepWithin(int64_t lowest, int64_t highest) {
    return [lowest, highest](const Text& field_text, int64_t last_value, int direction) {
        return SpinnerStep(field_text, last_value, lowest, highest, direction);
    };
}

// A widget the user types text into; its own keys edit that text.
bool IsTextEditor(const QWidget* widget) {
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QTextEdit*>(widget) ||
           qobject_cast<const QAbstractSpinBox*>(widget);
}

bool IsEditingKey(const QKeyEvent& key) {
    return key.matches(QKeySequence::SelectAll) ||
           (key.key() == Qt::Key_Delete && key.modifiers() == Qt::NoModifier);
}

}  // namespace

void IdentifyApplication() {
    QApplication::setApplicationName("Morvane Password Generator");
    QGuiApplication::setDesktopFileName(kDesktopEntry);
}

// Where the help page is: beside the program (a build tree), otherwise in
// the installed data folder next to bin/.
static QString HelpFolder() {
    const QString beside = QCoreApplication::applicationDirPath();
    if (QFileInfo::exists(beside + "/Morvane.html")) return beside;
    const QString installed = QDir::cleanPath(beside + "/../" + MORVANE_DATA_FOLDER);
    return QFileInfo::exists(installed + "/Morvane.html") ? installed : beside;
}

static WindowServices WithBox(MessageBoxService& box) {
    WindowServices services;
    services.box = &box;
    return services;
}

MainWindow::MainWindow(MessageBoxService& box) : MainWindow(WithBox(box)) {}

MainWindow::MainWindow(WindowServices services)
    : services_(std::move(services)), box_(*services_.box) {
    desktop_ = services_.desktop;
    if (!desktop_) {
        own_desktop_ = std::make_unique<QtDesktop>();
        desktop_ = own_desktop_.get();
    }
    // Help in a window of the program's own; its links to the web go to
    // the desktop's browser.
    help_ = std::make_unique<HelpWindowViewer>(this, [this](const QUrl& link) {
        Trap("HelpLink", [&] { ShellExecute(*desktop_, link.toString().toStdString()); });
    });
    if (!services_.printer) {
        own_printer_ = std::make_unique<QtPrinter>();
        services_.printer = own_printer_.get();
    }
    if (!services_.dialogs) {
        own_dialogs_ = std::make_unique<QtCommonDialog>(this, own_printer_ ? own_printer_.get() : nullptr);
        services_.dialogs = own_dialogs_.get();
    }
    if (!services_.files) {
        own_files_ = std::make_unique<QtFileSaver>();
        services_.files = own_files_.get();
    }
    if (!services_.registry) {
        own_registry_ = std::make_unique<Registry>();
        FillRegistryFromSystem(*own_registry_);
        services_.registry = own_registry_.get();
    }
    if (!services_.start_program) services_.start_program = [](const std::string& path) {
        QStringList arguments;
        for (const std::string& a : SystemInfoArguments(path)) arguments << QString::fromStdString(a);
        if (!QProcess::startDetached(QString::fromStdString(path), arguments))
            throw RuntimeError(kErrFileNotFound, "File not found");
    };
    if (!services_.show_modal) services_.show_modal = [](QDialog& dialog) { dialog.exec(); };
    if (!services_.end_program) services_.end_program = [] {
        std::fflush(nullptr);
        std::_Exit(0);
    };
    if (services_.program_folder.empty()) services_.program_folder = HelpFolder().toStdString();
    setWindowTitle("Morvane Password Generator");
    setWindowIcon(ProgramIcon());
    QFont font("Verdana");
    font.setPointSizeF(8.25);
    setFont(font);

    // The client area opens at the layout's size and places, and grows with
    // the window; the strip of passphrase options and the each-type rule
    // stands under it.
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    client_ = new QWidget(central);
    client_->setMinimumSize(Px(10440), Px(6135));
    client_->resize(client_->minimumSize());
    generationStrip = new GenerationStrip(central);
    column->addWidget(client_, 1);
    column->addWidget(generationStrip);
    setCentralWidget(central);
    BuildMenus();
    BuildToolbar(client_);
    BuildOptions(client_);
    BuildList(client_);
    BuildCommands(client_);
    BuildStatus(client_);
    BindControls();
    ConnectCommands();
    find_ = std::make_unique<modFind>(
        box_, [this](FindReplaceRecord& record, bool replace) { return OpenFindDialog(record, replace); });
    find_->operations().pass_time = [pending = std::make_shared<PendingEvents>()] { pending->Handle(); };
    // Most desktops sound no bell: the status bar says it too, until the
    // user's next key or click.
    find_->operations().not_found = [this] {
        strengthBar->showMessage(kNotFoundMessage);
        liveStatus->Announce(kNotFoundMessage);
    };
    // "Not found" holds only until a search finds or the list changes.
    const auto found_again = [this] {
        if (strengthBar->currentMessage() == kNotFoundMessage) strengthBar->clearMessage();
    };
    find_->operations().found = found_again;
    connect(rtfPasswords, &QTextEdit::textChanged, this, found_again);
    for (auto [widget, name] : std::initializer_list<std::pair<QWidget*, const char*>>{
             {txtOtherIn, "txtOtherIn"}, {txtOtherOut, "txtOtherOut"}, {txtMinLen, "txtMinLen"},
             {txtMaxLen, "txtMaxLen"}, {txtNum, "txtNum"}, {rtfPasswords, "rtfPasswords"},
             {txtProgress, "txtProgress"}, {txtStatus, "txtStatus"}, {txtNumPass, "txtNumPass"},
             {txtTimeStart, "txtTimeStart"}, {txtTimeComp, "txtTimeComp"}, {txtTimeTot, "txtTimeTot"},
             {chkLetter, "chkLetter"}, {cmdGenerate, "cmdGenerate"}})
        widget->setObjectName(name);

    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    // Under the client area: the strength line.
    strengthBar = new StrengthBar(this);
    setStatusBar(strengthBar);
    connect(generationStrip, &GenerationStrip::Changed, this, &MainWindow::ShowWhatApplies);
    clipboardGuard = new ClipboardGuard(this);
    clipboardGuard->WatchSelectionsOf(rtfPasswords);
    new DisplayQueueScrubber(this);  // what a paste of ours leaves in the display connection
    clipboardGuard->SetDelay(ClipboardGuard::KeptDelay());
    lblClipboardCountdown = new QLabel(strengthBar);
    lblClipboardCountdown->setObjectName("lblClipboardCountdown");
    lblClipboardCountdown->hide();
    strengthBar->addPermanentWidget(lblClipboardCountdown);
    // The profile in use is named beside the strength until an option changes.
    auto* inUse = new QLabel(strengthBar);
    inUse->setObjectName("lblProfileInUse");
    inUse->setAccessibleName("Profile in use");
    inUse->hide();
    strengthBar->addPermanentWidget(inUse);
    connect(mnuProfiles, &ProfilesMenu::InUse, inUse, [inUse](const QString& name) {
        inUse->setText("Profile: " + name);
        inUse->setVisible(!name.isEmpty());
    });
    connect(strengthBar, &StrengthBar::OptionsRead, mnuProfiles, &ProfilesMenu::OptionsChanged);
    connect(clipboardGuard, &ClipboardGuard::CountdownChanged, this, [this](int left) {
        lblClipboardCountdown->setText(QString("Clipboard clears in %1 s").arg(left));
        lblClipboardCountdown->setVisible(left > 0);
    });
    // Stays until the next message: the password may still be there.
    connect(clipboardGuard, &ClipboardGuard::ClearingFailed, strengthBar,
            [this](const QString& message) { strengthBar->showMessage(message); });
    NameForAssistiveTechnology();
    GiveAccessKeys();
    SetReadingOrder();
    ConnectAnnouncements();
    qApp->installEventFilter(this);
    FitTexts(client_);
    MakeRoomForTheCount();
    // The list takes what the window gains; the panels right of it follow
    // the right edge.
    using Anchor = ClientGrowth::Anchor;
    new ClientGrowth(client_, {{fraPasswords, Anchor::kGrow},
                               {rtfPasswords, Anchor::kGrow},
                               {toolbarMain, Anchor::kWiden},
                               {picMorvaneLogo, Anchor::kFollowRight},
                               {fraCommands, Anchor::kFollowRight},
                               {fraStatus, Anchor::kFollowRight}});
    adjustSize();
    resize(sizeHint());
}

void MainWindow::Start() {
    form_->Form_Load();
    // Without a profile to start with the window starts with its defaults.
    mnuProfiles->LoadAtStart();
    mnuProfiles->ChooseWindowStart();
    // What could not be read is said once the window shows, over it.
    QTimer::singleShot(0, this, [this] {
        if (const QString& problem = generationStrip->SiteTableProblem(); !problem.isEmpty())
            box_.Show(problem.toStdString() + "\r\nOnly the bundled sites' rules are known until it is mended.", kOkOnly,
                      "Site rules");
        mnuProfiles->SayProblem();
    });
}

// The count takes ten digits where the lengths take three: the spinners
// move to the frame's right edge, the length fields widen to them, and the
// count's field reaches left into its label's spare width as far as its
// digits need.
void MainWindow::MakeRoomForTheCount() {
    constexpr int kInset = Px(120);
    constexpr char kWidestCount[] = "2147483647";
    constexpr int kSpinnerWidth = Px(225);
    const int spinner_left = fraSize->width() - kInset - kSpinnerWidth;
    for (QtSpinner* spinner : {UpDown1, UpDown2, UpDown3})
        spinner->setGeometry(spinner_left, spinner->y(), kSpinnerWidth, spinner->height());
    for (QLineEdit* field : {txtMinLen, txtMaxLen, txtNum})
        field->setGeometry(field->x(), field->y(), spinner_left - field->x(), field->height());
    const int frame = txtNum->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, txtNum);
    const int needed = txtNum->fontMetrics().horizontalAdvance(kWidestCount) + 2 * frame + 2 * 2 + 1;
    const int label_text_end = lblNumPasswords->x() + RoomFor(lblNumPasswords).needed.width() + 2;
    const int left = std::max(label_text_end, std::min(txtNum->x(), spinner_left - needed));
    txtNum->setGeometry(left, txtNum->y(), spinner_left - left, txtNum->height());
    lblNumPasswords->resize(left - lblNumPasswords->x(), lblNumPasswords->height());
}

MainWindow::~MainWindow() { qApp->removeEventFilter(this); }

// Passphrases use the count, the duplicate rule, the run and the list; the
// character and length options stand aside meanwhile, as they do for
// pronounceable passwords, which the look-alikes and Other out narrow. A
// site's rule decides the characters and has its own length; the exclusions
// narrow it.
void MainWindow::ShowWhatApplies() {
    const GenerationSettings mode = generationStrip->Settings();
    const bool words = mode.passphrases(), pool = mode.from_pool();
    fraInclude->setEnabled(pool);
    chkSpace->setEnabled(pool || mode.site_rules());
    for (QWidget* w : std::initializer_list<QWidget*>{chkAlike, chkOtherOut, txtOtherOut}) w->setEnabled(!words);
    for (QWidget* w : std::initializer_list<QWidget*>{chkVarLen, lblMinLen, lblMaxLen, txtMinLen, txtMaxLen, UpDown1,
                                                      UpDown2})
        w->setEnabled(pool);
}

void MainWindow::BuildOptions(QWidget* client) {
    fraInclude = Frame(client, "Include:", kLightGrey, "Select what to include");
    Place(fraInclude, 120, 480, 3015, 1935);
    chkLetter = Box(fraInclude, "Letters", "Include Letters?", 120, 300, 1095);
    chkUpper = Box(fraInclude, "Uppercase (A-Z)", "Include Uppercase letters?", 1260, 300, 1695);
    chkLower = Box(fraInclude, "Lowercase (a-z)", "Include Lower case letters?", 1260, 600, 1695);
    chkNumber = Box(fraInclude, "Numbers (0-9)", "Include Numbers?", 120, 930, 2775);
    chkSpecial = Box(fraInclude, "Special (~, !,...)", "Include Special characters?", 120, 1230, 2775);
    chkOtherIn = Box(fraInclude, "Other:", "Include Other characters?", 120, 1560, 1005);
    txtOtherIn = Field(fraInclude, "Enter characters separated by spaces", 1140, 1530, 1755);

    fraExclude = Frame(client, "Exclude:", kLightGrey, "Select what to exclude");
    Place(fraExclude, 120, 2520, 3015, 1695);
    chkSpace = Box(fraExclude, "Spaces", "Exclude Spaces?", 120, 270, 2775);
    chkAlike = Box(fraExclude, "Look-alikes (0, O,...)", "Exclude characters that look similar?",
                   120, 570, 2775);
    chkDuplicate = Box(fraExclude, "Duplicate passwords", "Exclude Duplicate passwords?", 120, 870,
                       2775);
    chkOtherOut = Box(fraExclude, "Other:", "Exclude Other characters?", 120, 1230, 1005);
    txtOtherOut = Field(fraExclude, "Enter characters separated by spaces", 1140, 1200, 1755);
    // The character fields take a paste of any length; the pool has a limit
    // of its own, which a run reports.
    txtOtherIn->setMaxLength(std::numeric_limits<int>::max());
    txtOtherOut->setMaxLength(std::numeric_limits<int>::max());

    fraSize = Frame(client, "Values:", kLightGrey, "Enter values for passwords");
    Place(fraSize, 120, 4320, 3015, 1695);
    chkVarLen = Box(fraSize, "Variable length", "Length of password variable?", 120, 270, 2775);
    lblMinLen = Label(fraSize, "Min Length  (>3):", 120, 630, 1695, 255);
    txtMinLen = Field(fraSize, "Enter minimum password length", 1860, 600, 735);
    lblMaxLen = Label(fraSize, "Max Length (<129):", 120, 960, 1695, 255);
    txtMaxLen = Field(fraSize, "Enter maximum password length", 1860, 930, 735);
    lblNumPasswords = Label(fraSize, "Num passwords:", 120, 1290, 1695, 255);
    txtNum = Field(fraSize, "Enter number of passwords", 1860, 1260, 735);
    for (QCheckBox* b : {chkLetter, chkUpper, chkLower, chkNumber, chkSpecial, chkOtherIn, chkSpace,
                         chkAlike, chkDuplicate, chkOtherOut, chkVarLen})
        b->setTristate(false);
}

void MainWindow::BuildList(QWidget* client) {
    fraPasswords = Frame(client, "Passwords:", Qt::white, nullptr);
    Place(fraPasswords, 3240, 480, 3735, 5535);
    rtfPasswords = new SecretTextEdit(fraPasswords);
    Place(rtfPasswords, 120, 240, 3495, 5175);
    rtfPasswords->setFont(ListFont());
    rtfPasswords->setLineWrapMode(QTextEdit::NoWrap);
    rtfPasswords->setTabChangesFocus(true);
}

void MainWindow::BuildCommands(QWidget* client) {
    picMorvaneLogo = new QLabel(client);
    Place(picMorvaneLogo, 7080, 480, 3225, 1200);
    picMorvaneLogo->setPixmap(LogoPixmap());
    picMorvaneLogo->setToolTip("Go to website");
    picMorvaneLogo->setCursor(PointingHandCursor());

    fraCommands = Frame(client, "Commands", Qt::white, nullptr);
    QFont sans("MS Sans Serif");
    sans.setPointSizeF(8.25);
    fraCommands->setFont(sans);
    Place(fraCommands, 7080, 1680, 3255, 2175);
    cmdGenerate = Button(fraCommands, "&Generate", "Generate password list", 120, 240, 3015, "Verdana");
    cmdSave = Button(fraCommands, "&Save", "Save password list", 120, 720, 1335, "MS Sans Serif");
    cmdPrint = Button(fraCommands, "&Print", "Print Password list", 1800, 720, 1335, "MS Sans Serif");
    cmdHelp = Button(fraCommands, "Help?", "Need Help?", 120, 1200, 1335, "Verdana");
    cmdAbout = Button(fraCommands, "About", "About Morvane", 1800, 1200, 1335, "Verdana");
    cmdClear = Button(fraCommands, "Clear", nullptr, 120, 1680, 1335, "Verdana");
    cmdExit = Button(fraCommands, "E&xit", "Exit Morvane", 1800, 1680, 1335, "Verdana");
    cmdGenerate->setDefault(true);
    // Flat dark red with white bold text in every state; focus shows as a
    // white dotted frame inside the button.
    cmdExit->setStyleSheet(
        "QPushButton { background-color: rgb(192, 0, 0); color: white; font-weight: bold;"
        " border: 1px solid rgb(128, 0, 0); border-radius: 2px; }"
        "QPushButton:pressed { border: 2px solid rgb(96, 0, 0); }"
        "QPushButton:focus { outline: none; border: 1px dotted white; }");
}

void MainWindow::BuildStatus(QWidget* client) {
    fraStatus = Frame(client, "Progress:", kLightGrey, nullptr);
    Place(fraStatus, 7080, 3960, 3255, 2055);
    pbProgress = new QProgressBar(fraStatus);
    pbProgress->setRange(0, 100);
    pbProgress->setValue(0);
    pbProgress->setTextVisible(false);
    Place(pbProgress, 120, 240, 2985, 255);

    QFont bold("Verdana");
    bold.setPointSizeF(8.25);
    bold.setBold(true);
    lblStatus = Label(fraStatus, "Status:", 120, 600, 615, 255);
    txtProgress = PanelField(fraStatus, 840, 600, 735, 195, Qt::AlignHCenter);
    txtProgress->setFont(bold);
    QPalette p = txtProgress->palette();
    p.setColor(QPalette::Text, QColor(0, 0, 128));
    p.setColor(QPalette::Base, Qt::white);
    txtProgress->setPalette(p);
    txtStatus = PanelField(fraStatus, 1560, 600, 1575, 195, Qt::AlignRight);
    txtStatus->setFont(bold);
    QPalette s = txtStatus->palette();
    s.setColor(QPalette::Text, QColor(0, 192, 0));
    txtStatus->setPalette(s);

    Label7 = Label(fraStatus, "Passwords Generated:", 120, 960, 1935, 255);
    txtNumPass = PanelField(fraStatus, 2160, 960, 975, 195, Qt::AlignRight);
    QFont sans("MS Sans Serif");
    sans.setPointSizeF(8.25);
    txtNumPass->setFont(sans);
    Label4 = Label(fraStatus, "Time Started:", 120, 1200, 1935, 255);
    txtTimeStart = PanelField(fraStatus, 2160, 1200, 975, 195, Qt::AlignRight);
    Label5 = Label(fraStatus, "Time Completed:", 120, 1440, 1935, 255);
    txtTimeComp = PanelField(fraStatus, 2160, 1440, 975, 195, Qt::AlignRight);
    Label6 = Label(fraStatus, "Total (seconds):", 120, 1680, 1935, 255);
    txtTimeTot = PanelField(fraStatus, 2160, 1680, 975, 195, Qt::AlignRight);
}

void MainWindow::BindControls() {
    auto check = [this](QCheckBox* b) {
        controls_.push_back(std::make_unique<QtCheckBox>(b));
        return static_cast<CheckBox*>(controls_.back().get());
    };
    auto text = [this](QLineEdit* e) {
        controls_.push_back(std::make_unique<QtTextBox>(e));
        return static_cast<TextBox*>(controls_.back().get());
    };
    MainControls c;
    c.chkLetter = check(chkLetter);
    c.chkUpper = check(chkUpper);
    c.chkLower = check(chkLower);
    c.chkNumber = check(chkNumber);
    c.chkSpecial = check(chkSpecial);
    c.chkOtherIn = check(chkOtherIn);
    c.txtOtherIn = text(txtOtherIn);
    c.chkSpace = check(chkSpace);
    c.chkAlike = check(chkAlike);
    c.chkDuplicate = check(chkDuplicate);
    c.chkOtherOut = check(chkOtherOut);
    c.txtOtherOut = text(txtOtherOut);
    c.chkVarLen = check(chkVarLen);
    c.txtMinLen = text(txtMinLen);
    c.txtMaxLen = text(txtMaxLen);
    c.txtNum = text(txtNum);
    controls_.push_back(std::make_unique<QtRichTextBox>(rtfPasswords));
    list_ = static_cast<QtRichTextBox*>(controls_.back().get());
    c.rtfPasswords = list_;
    progress_ = std::make_unique<QtProgressBar>(pbProgress);
    c.pbProgress = progress_.get();
    c.txtProgress = text(txtProgress);
    c.txtStatus = text(txtStatus);
    c.txtNumPass = text(txtNumPass);
    c.txtTimeStart = text(txtTimeStart);
    c.txtTimeComp = text(txtTimeComp);
    c.txtTimeTot = text(txtTimeTot);
    for (QWidget* w : std::initializer_list<QWidget*>{fraInclude, fraExclude, fraSize, cmdGenerate,
                                                       cmdSave, cmdPrint}) {
        switches_.push_back(std::make_unique<QtSwitch>(w));
        c.startup_enabled.push_back(switches_.back().get());
    }
    for (QAction* a : {mnuGenerate, mnuEdit->menuAction(), mnuFormat->menuAction(), mnuSave, mnuPrint,
                       mnuFind, mnuReplace}) {
        switches_.push_back(std::make_unique<QtSwitch>(a));
        c.startup_enabled.push_back(switches_.back().get());
    }
    switches_.push_back(std::make_unique<QtSwitch>(toolbarMain));
    c.startup_enabled.push_back(switches_.back().get());

    UpDown1 = new QtSpinner(fraSize, c.txtMinLen, 6, StepWithin(4, 128));
    Place(UpDown1, 2595, 600, 255, 285);
    UpDown2 = new QtSpinner(fraSize, c.txtMaxLen, 8, StepWithin(4, 128));
    Place(UpDown2, 2595, 930, 255, 285);
    UpDown3 = new QtSpinner(fraSize, c.txtNum, 10, StepWithin(1, 2147483647));
    Place(UpDown3, 2595, 1260, 255, 285);

    MainEnvironment env;
    env.box = &box_;
    env.dialogs = services_.dialogs;
    env.printer = services_.printer;
    env.files = services_.files;
    // The save dialog opens in the user's documents, or at home without them.
    env.documents_folder = DocumentsFolder().toStdString();
    env.window_settings = [this] { return generationStrip->Settings(); };
    // The window takes its turn about every 25 ms, well within the 50 ms a
    // user notices. Writing the new lines into the list at a turn takes
    // longer than making them, so the run makes, between turns, its share
    // of 25 ms as the last turn showed.
    env.turn_due = [this] {
        if (!turn_clock_.isValid()) turn_clock_.start();
        return turn_due_ || turn_clock_.nsecsElapsed() - turn_ended_ >= making_budget_;
    };
    env.do_events = [this] {
        if (!turn_clock_.isValid()) turn_clock_.start();
        const qint64 now = turn_clock_.nsecsElapsed();
        const double making = static_cast<double>(now - turn_ended_);
        list_->Flush();
        QCoreApplication::processEvents();
        turn_ended_ = turn_clock_.nsecsElapsed();
        const double turn = static_cast<double>(turn_ended_ - now);
        if (!turn_due_)
            making_budget_ = static_cast<qint64>(std::clamp(25e6 * making / (making + turn), 1e6, 25e6));
        turn_due_ = false;
    };
    form_ = std::make_unique<frmMain>(std::move(c), std::move(env));

}

void MainWindow::Generate() {
    // The line the run's first password goes on: the last, empty one after
    // the list's last line end, or a new one after a line the user left open.
    QTextDocument* list = rtfPasswords->document();
    const bool was_empty = list->isEmpty();
    const int first = list->lastBlock().text().isEmpty() ? list->blockCount() - 1 : list->blockCount();
    turn_due_ = true;  // the window answers from the first password on
    form_->cmdGenerate_Click();
    list_->Flush();
    // The view goes to the run's first password, so that a run below what
    // is shown is seen; a run into an empty list stays at the top.
    const QTextBlock made = list->findBlockByNumber(first);
    if (!was_empty && made.isValid() && !made.text().isEmpty()) {
        const qreal top = list->documentLayout()->blockBoundingRect(made).top();
        rtfPasswords->verticalScrollBar()->setValue(static_cast<int>(top));
    }
}

void MainWindow::SelectWholeLineAt(QPoint where) {
    QTextCursor line = rtfPasswords->cursorForPosition(where);
    line.movePosition(QTextCursor::StartOfBlock);
    line.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    rtfPasswords->setTextCursor(line);
    // As a selection made by the mouse, it is what a middle click pastes.
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (line.hasSelection() && clipboard->supportsSelection())
        clipboard->setText(line.selectedText(), QClipboard::Selection);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == picMorvaneLogo && event->type() == QEvent::MouseButtonRelease) {
        picMorvaneLogo_Click();
        return true;
    }
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::MouseButtonPress) {
        if (strengthBar && strengthBar->currentMessage() == kNotFoundMessage) strengthBar->clearMessage();
    }
    // The menu's shortcuts act in every field of the window, before the
    // field's own keys; only the keys that edit within a text (Select All,
    // Delete) stay with the text that has the focus.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this && key->keyCombination() == QKeyCombination(Qt::Key_F1))
            help_asked_in_ = QApplication::focusWidget();
        if (widget && widget->window() == this && !(IsTextEditor(widget) && IsEditingKey(*key))) {
            QKeySequence pressed(key->keyCombination());
            for (QAction* a : findChildren<QAction*>())
                if (!a->shortcut().isEmpty() && a->shortcut() == pressed && a->isEnabled()) return true;
        }
    }
    // A double-click in the list selects the whole password, which may
    // hold the symbols that end a word.
    // A third click soon after selects it too, as a triple-click would.
    if ((event->type() == QEvent::MouseButtonDblClick || event->type() == QEvent::MouseButtonPress) &&
        watched == rtfPasswords->viewport() && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        const QPoint where = static_cast<QMouseEvent*>(event)->position().toPoint();
        const bool third = event->type() == QEvent::MouseButtonPress && line_clicked_.isValid() &&
                           line_clicked_.elapsed() < QApplication::doubleClickInterval() &&
                           (where - line_clicked_at_).manhattanLength() < QApplication::startDragDistance();
        if (event->type() == QEvent::MouseButtonDblClick || third) {
            SelectWholeLineAt(where);
            line_clicked_.start();
            line_clicked_at_ = where;
            return true;
        }
        line_clicked_.invalidate();
    }
    // Ctrl+Tab leaves the list as Tab does, the way it leaves any text area.
    if (event->type() == QEvent::KeyPress && watched == rtfPasswords) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
            key->modifiers().testFlag(Qt::ControlModifier)) {
            focusNextPrevChild(key->key() == Qt::Key_Tab && !key->modifiers().testFlag(Qt::ShiftModifier));
            return true;
        }
    }
    // Enter presses the default button, except in the list, which takes it
    // as a line break, and on a button, which it presses.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && widget &&
            widget->window() == this && isActiveWindow() && widget != rtfPasswords &&
            !rtfPasswords->isAncestorOf(widget) && key->modifiers() == Qt::NoModifier) {
            if (auto* button = qobject_cast<QPushButton*>(widget)) {
                button->click();
            } else {
                cmdGenerate->click();
            }
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace morvane
