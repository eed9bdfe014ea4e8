#pragma once
// The main window on the desktop: its controls at their places, bound to the
// window's procedures.
#include <QGroupBox>
#include <QLabel>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QPushButton>
#include <memory>

#include "app/frm_main.h"
#include "platform/qt_controls.h"

namespace morvane {

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(MessageBoxService& box);
    ~MainWindow() override;

    frmMain& form() { return *form_; }
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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildOptions(QWidget* client);
    void BuildList(QWidget* client);
    void BuildCommands(QWidget* client);
    void BuildStatus(QWidget* client);
    void BindControls();

    MessageBoxService& box_;
    QElapsedTimer yield_clock_;
    QWidget* client_ = nullptr;
    std::vector<std::unique_ptr<Control>> controls_;
    std::vector<std::unique_ptr<Enableable>> switches_;
    std::unique_ptr<QtProgressBar> progress_;
    QtRichTextBox* list_ = nullptr;
    std::unique_ptr<frmMain> form_;
};

// Twips (1/1440 inch) to pixels at 96 dots per inch.
constexpr int Px(int twips) { return twips / 15; }

}  // namespace morvane
