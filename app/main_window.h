#pragma once
// The main window on the desktop: its controls at their places, bound to the
// window's procedures.
#include <QGroupBox>
#include <QLabel>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QMainWindow>
#include <QMenu>
#include <QToolBar>
#include <QPushButton>
#include <memory>

#include "app/frm_main.h"
#include "app/help_window.h"
#include "about/system_info.h"
#include "edit/clipboard_guard.h"
#include "edit/find_host.h"
#include "platform/contracts/desktop.h"
#include "platform/qt/qt_common_dialog.h"
#include "platform/qt/qt_controls.h"
#include "platform/password_list/password_list_box.h"
#include "platform/qt/twips.h"
#include "platform/qt/qt_file_saver.h"

namespace morvane {

class StrengthBar;
class GenerationStrip;
class LiveStatus;
class ProfilesMenu;
struct ProfileChoice;

// Where the window keeps what it remembers between runs.

// Names the program, and the menu entry that docks and task bars match its
// window to (its icon and name there).
inline constexpr char kDesktopEntry[] = "org.example.morvane";
void IdentifyApplication();

struct WindowServices {
    MessageBoxService* box = nullptr;
    DesktopService* desktop = nullptr;     // the desktop's default programs when empty
    CommonDialog* dialogs = nullptr;       // the real dialogs when empty
    Printer* printer = nullptr;            // the system printer when empty
    FileSaver* files = nullptr;            // safe saving on disk when empty
    Registry* registry = nullptr;          // filled from this machine when empty
    ProgramStarter start_program;          // starts detached programs when empty
    std::function<void(QDialog&)> show_modal;  // shows a dialog modal; exec() when empty
    std::function<void()> end_program;     // ends the process at once when empty
    std::string program_folder;            // where the help file is; the program's own when empty
};

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(MessageBoxService& box);
    explicit MainWindow(WindowServices services);
    ~MainWindow() override;

    frmMain& form() { return *form_; }
    // Loads the form, then takes the profile the user starts with, if any.
    void Start();
    modFind& find() { return *find_; }
    MessageWindow& messages() { return messages_; }
    QDialog* findDialog() const { return find_dialog_; }
    QWidget* clientArea() const { return client_; }  // the fixed area of every control, above the strip
    // The Generate command, from any of its sources.
    void Generate();

    // Widgets, by the names the program gives them.
    QGroupBox *fraInclude, *fraExclude, *fraSize, *fraPasswords, *fraCommands, *fraStatus;
    QCheckBox *chkLetter, *chkUpper, *chkLower, *chkNumber, *chkSpecial, *chkOtherIn;
    QCheckBox *chkSpace, *chkAlike, *chkDuplicate, *chkOtherOut, *chkVarLen;
    QLineEdit *txtOtherIn, *txtOtherOut, *txtMinLen, *txtMaxLen, *txtNum;
    QLabel *lblMinLen, *lblMaxLen, *lblNumPasswords;
    QtSpinner *UpDown1 = nullptr, *UpDown2 = nullptr, *UpDown3 = nullptr;
    QTextEdit* rtfPasswords;
    QLabel* picMorvaneLogo;
    QPushButton *cmdGenerate, *cmdSave, *cmdPrint, *cmdHelp, *cmdAbout, *cmdClear, *cmdExit;
    QProgressBar* pbProgress;
    QLabel *lblStatus, *Label7, *Label4, *Label5, *Label6;
    QLineEdit *txtProgress, *txtStatus, *txtNumPass, *txtTimeStart, *txtTimeComp, *txtTimeTot;
    QToolBar* toolbarMain = nullptr;
    StrengthBar* strengthBar = nullptr;  // the strength line under the client area
    GenerationStrip* generationStrip = nullptr;  // passphrases and the each-type rule
    QMenu *mnuFile, *mnuEdit, *mnuFormat, *mnuAlign, *mnuHelp;
    ProfilesMenu* mnuProfiles = nullptr;  // the built-in profiles and the user's
    QAction *mnuGenerate, *mnuSave, *mnuPrint, *mnuExit, *mnuCut, *mnuCopy, *mnuPaste, *mnuDelete,
        *mnuClear, *mnuSelectAll, *mnuFind, *mnuReplace, *mnuFont, *mnuAlignLeft, *mnuAlignCenter,
        *mnuAlignRight, *mnuContents, *mnuWebsite, *mnuAbout;
    QAction* mnuStop = nullptr;            // ends a run going on (Esc)
    QAction* mnuClipboardDelay = nullptr;  // how long copied passwords stay on the clipboard
    QAction* mnuShowQr = nullptr;          // the password of the current line as a QR code
    QLabel* lblClipboardCountdown = nullptr;  // in the status bar while a copy waits to be cleared
    ClipboardGuard* clipboardGuard = nullptr;
    LiveStatus* liveStatus = nullptr;  // what assistive technology announces

    // Command handlers; every source of a command reaches its one handler.
    void toolbarMain_ButtonClick(const QString& key);
    void mnuGenerate_Click();
    void cmdSave_Click();
    void mnuSave_Click();
    void cmdPrint_Click();
    void mnuPrint_Click();
    void cmdExit_Click();
    void mnuExit_Click();
    void mnuCut_Click();
    void mnuCopy_Click();
    void mnuPaste_Click();
    void mnuDelete_Click();
    void mnuClear_Click();
    void mnuSelectAll_Click();
    void mnuClipboardDelay_Click();
    void ShowAsQrCode();
    void mnuFind_Click();
    void mnuReplace_Click();
    void mnuFont_Click();
    void mnuAlignLeft_Click();
    void mnuAlignCenter_Click();
    void mnuAlignRight_Click();
    void cmdHelp_Click();
    void mnuContents_Click();
    void mnuWebsite_Click();
    void picMorvaneLogo_Click();
    void mnuAbout_Click();
    void cmdAbout_Click();
    void HTMLHelpContents();
    void HTMLHelpIndex();
    void HTMLShowTopic(long lngTopicID);
    // The help window, once help has been asked for.
    HelpWindow* helpWindow() const { return help_ ? help_->window() : nullptr; }
    // Asks the closing question; true when the window may close.
    bool Form_Unload();
    // Sets the options to a profile's, as the user would set them.
    void TakeProfile(const ProfileChoice& choice);
    // The options a profile would keep, once the checks pass; else why not.
    std::optional<GenerationSettings> OptionsForProfile(std::string& why);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildOptions(QWidget* client);
    void BuildList(QWidget* client);
    void BuildCommands(QWidget* client);
    void BuildStatus(QWidget* client);
    void MakeRoomForTheCount();
    void BindControls();
    void ShowWhatApplies();
    void ShowAbout();
    TextBox* FocusedTextControl(QString* name);
    void PutOnClipboard(const Text& text, bool secret);
    bool OpenFindDialog(FindReplaceRecord& record, bool replace);
    void BuildMenus();
    void BuildToolbar(QWidget* client);
    void ConnectCommands();
    void SelectWholeLineAt(QPoint where);  // in the list, where the mouse is
    void NameForAssistiveTechnology();
    void SetReadingOrder();
    void GiveAccessKeys();
    void ConnectAnnouncements();
    template <class Body>
    void Trap(const char* name, Body&& body) {
        TrapErrors(box_, Owner::kWindow, name, std::forward<Body>(body));
    }

    WindowServices services_;
    std::unique_ptr<DesktopService> own_desktop_;
    std::unique_ptr<QtPrinter> own_printer_;
    std::unique_ptr<Registry> own_registry_;
    std::unique_ptr<CommonDialog> own_dialogs_;
    std::unique_ptr<FileSaver> own_files_;
    MessageBoxService& box_;
    DesktopService* desktop_ = nullptr;
    // A run's turns: when the last one ended, and how long to make
    // passwords before the next (in nanoseconds).
    QElapsedTimer turn_clock_;
    qint64 turn_ended_ = 0;
    qint64 making_budget_ = 5000000;
    bool turn_due_ = false;
    QWidget* client_ = nullptr;
    std::vector<std::unique_ptr<Control>> controls_;
    std::vector<std::unique_ptr<Enableable>> switches_;
    std::unique_ptr<QtProgressBar> progress_;
    QtRichTextBox* list_ = nullptr;
    std::unique_ptr<frmMain> form_;
    MessageWindow messages_;  // the window's message procedure, for the Find/Replace dialogs
    std::unique_ptr<modFind> find_;
    QPointer<QDialog> find_dialog_;
    QPointer<QDialog> qr_window_;  // the one password shown as a QR code, if any
    int clipboard_seconds_left_ = 0;  // the countdown last shown
    bool clipboard_clear_failed_ = false;  // since the countdown began
    QElapsedTimer line_clicked_;      // since a double-click selected a line of the list
    QPoint line_clicked_at_;
    std::unique_ptr<HelpWindowViewer> help_;
    QPointer<QWidget> help_asked_in_;  // where F1 was pressed, until it is answered
    // The section of the help page about `control`; empty when none is.
    std::string HelpSectionOf(const QWidget* control) const;
};

}  // namespace morvane
