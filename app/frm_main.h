#pragma once
// The main window's procedures: options, checks, the generation run and the
// status panel, working on the window's controls through their interfaces.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/character_codes.h"
#include "engine/duplicate_index.h"
#include "platform/contracts/common_dialog.h"
#include "platform/contracts/controls.h"
#include "platform/contracts/error_report.h"
#include "platform/contracts/file_saver.h"
#include "platform/contracts/message_box.h"
#include "engine/generator.h"
#include "options/option_verdicts.h"

namespace morvane {

struct MainControls {
    // Include frame
    CheckBox* chkLetter = nullptr;
    CheckBox* chkUpper = nullptr;
    CheckBox* chkLower = nullptr;
    CheckBox* chkNumber = nullptr;
    CheckBox* chkSpecial = nullptr;
    CheckBox* chkOtherIn = nullptr;
    TextBox* txtOtherIn = nullptr;
    // Exclude frame
    CheckBox* chkSpace = nullptr;
    CheckBox* chkAlike = nullptr;
    CheckBox* chkDuplicate = nullptr;
    CheckBox* chkOtherOut = nullptr;
    TextBox* txtOtherOut = nullptr;
    // Values frame
    CheckBox* chkVarLen = nullptr;
    TextBox* txtMinLen = nullptr;
    TextBox* txtMaxLen = nullptr;
    TextBox* txtNum = nullptr;
    // The list and the status panel
    RichTextBox* rtfPasswords = nullptr;
    ProgressBar* pbProgress = nullptr;
    TextBox* txtProgress = nullptr;
    TextBox* txtStatus = nullptr;
    TextBox* txtNumPass = nullptr;
    TextBox* txtTimeStart = nullptr;
    TextBox* txtTimeComp = nullptr;
    TextBox* txtTimeTot = nullptr;
    // Frames, buttons, menus and toolbar that start-up enables, in order.
    std::vector<Enableable*> startup_enabled;
};

using Clock = std::function<std::chrono::system_clock::time_point()>;

// The codes of the status field's words; any other code shows "ANOMALY".
enum StatusCode : int {
    kStatusReady = 1,
    kStatusComplete = 2,
    kStatusFileSaved = 3,
    kStatusPrintComplete = 4,
    kStatusBuilding = 5,
    kStatusInputError = 10,
    kStatusPrintCancelled = 11,
    kStatusSaveCancelled = 12,
};

struct MainEnvironment {
    MessageBoxService* box = nullptr;
    CommonDialog* dialogs = nullptr;  // save, print and font dialogs
    Printer* printer = nullptr;
    FileSaver* files = nullptr;       // writes saved lists
    std::string documents_folder;     // where the save dialog opens
    std::function<void()> do_events;  // yield to pending window events
    // Whether the window wants its turn now; after every password when empty.
    std::function<bool()> turn_due;
    Clock now;                        // defaults to the system clock
    // The settings the window's own widgets hold beyond these controls (the
    // mode, the passphrase options), over their defaults; plain passwords
    // from the defaults when empty.
    std::function<GenerationSettings()> window_settings;
};

class frmMain {
public:
    frmMain(MainControls controls, MainEnvironment env);
    frmMain(const frmMain&) = delete;
    frmMain& operator=(const frmMain&) = delete;

    // Start-up
    void Form_Load();
    void Initialize();

    // Commands
    void cmdGenerate_Click();
    // Ends a run between two passwords, as if it had been asked for no
    // more; the passwords made so far stay. Nothing when no run goes on.
    void StopRun() { stop_requested_ = runs_going_ > 0; }
    bool IsRunGoing() const { return runs_going_ > 0; }
    void cmdClear_Click();
    void ClearPasswords();

    // Output
    Text FormatAsHTML();
    void cmdSave_Click();
    void cmdPrint_Click();

    // Status panel
    void ChangeStatus(int code);

    // Option rules
    void chkLetter_Click();
    void chkUpper_Click();
    void chkLower_Click();
    void chkVarLen_Click();
    void txtMaxLen_Change();
    void txtMinLen_Change();

    // Option checks
    bool IsVerifyData();
    bool IsInclude();
    // Whether letters are chosen: kLettersOff, kLettersChosen, or
    // kLettersWithoutCase (refused: neither case is).
    enum LettersVerdict : int { kLettersOff = 0, kLettersChosen = 1, kLettersWithoutCase = 2 };
    int IsLetters();
    bool IsNumbers();
    bool IsSpecial();
    bool IsIncludeOther();
    bool IsExclude();
    bool IsValue();

    // Number fields
    bool IsMinLen();
    bool IsMaxLen();
    bool IsNumPass();
    void txtMinLen_GotFocus();
    void txtMaxLen_GotFocus();
    void txtNum_GotFocus();
    void txtMinLen_LostFocus();
    void txtMaxLen_LostFocus();
    void txtNum_LostFocus();
    void txtOtherIn_LostFocus();
    void txtOtherOut_LostFocus();

    // Generation
    void GenerateOutput();
    bool IsCreateArray();
    bool IsNumMaxPossible();
    Text GeneratePassword();
    // Passphrases and the each-type rule.
    bool IsVerifyPassphrase();
    bool IsCreatePassphraseMaker();
    bool IsCreateRuleGenerator();
    bool IsCreatePronounceableMaker();
    bool IsGeneratorBuilt(const char* title);
    bool IsEachTypePossible();
    bool IsMemoryEnough(uint64_t needed);
    bool IsPossibleEnough(int32_t possible);

    // What to generate, as the entries say once the checks have passed.
    GenerationSettings Settings();
    // Sets the option boxes and fields to `settings`, as a user would.
    void TakeSettings(const GenerationSettings& settings);
    // The same read leniently for the strength line: the settings, or in
    // words why no password can be made.
    struct SettingsAsEntered {
        std::optional<GenerationSettings> settings;
        std::string why_none;
    };
    SettingsAsEntered ReadEntries();
    // The number of passwords into the settings; else why it is not one.
    const char* ReadCount(GenerationSettings& settings);

    // The pool of the last run (one entry of 0 before any).
    const Pool& arrCharacters() const;
    int32_t lngPasswordCount() const { return lngPasswordCount_; }
    const MainControls& controls() const { return c_; }
    MessageBoxService& box() { return *env_.box; }

    // Shows an OK-only box without icon.
    void Message(const std::string& text, const std::string& title);

private:
    bool stop_requested_ = false;
    int runs_going_ = 0;  // a run started at one of another run's turns goes inside it
    // The boxes and the Other texts, read into `settings`.
    GenerationSettings WindowSettings() const;
    void ReadChoices(GenerationSettings& settings);
    void TakeLengthEdits();
    bool IsTurnDue() const;
    void LetterCaseStepB();
    void FocusAndSelectAll(TextBox* field);
    bool IsLengthField(TextBox* field, TextBox* other, const char32_t* refill, const CheckFailure& failure,
                       void (frmMain::*go_back)());
    void TrimField(TextBox* field);

    template <class Body>
    void Trap(const char* name, Body&& body) {
        TrapErrors(*env_.box, Owner::kWindow, name, std::forward<Body>(body));
    }
    // The same for a procedure with a value: what the body returns, or
    // `failed` when it raised an error.
    template <class Result, class Body>
    Result Trapped(const char* name, Result failed, Body&& body) {
        Result result = failed;
        Trap(name, [&] { result = body(); });
        return result;
    }

    MainControls c_;
    MainEnvironment env_;
    // The generator of the run going on, or of the last one; a run started
    // at another's turn has its own.
    std::shared_ptr<Generator> generator_;
    int32_t lngPasswordCount_ = 0;
};

}  // namespace morvane
