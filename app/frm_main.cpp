#include "app/frm_main.h"

#include "engine/rand.h"

namespace morvane {

frmMain::frmMain(MainControls controls, MainEnvironment env)
    : c_(std::move(controls)), env_(std::move(env)) {
    if (!env_.now) env_.now = [] { return std::chrono::system_clock::now(); };
    if (!env_.do_events) env_.do_events = [] {};
    c_.chkLetter->Click = [this] { chkLetter_Click(); };
    c_.chkUpper->Click = [this] { chkUpper_Click(); };
    c_.chkLower->Click = [this] { chkLower_Click(); };
    c_.chkVarLen->Click = [this] { chkVarLen_Click(); };
    c_.txtMaxLen->Change = [this] { txtMaxLen_Change(); };
    c_.txtMinLen->Change = [this] { txtMinLen_Change(); };
    c_.txtMinLen->GotFocus = [this] { txtMinLen_GotFocus(); };
    c_.txtMaxLen->GotFocus = [this] { txtMaxLen_GotFocus(); };
    c_.txtNum->GotFocus = [this] { txtNum_GotFocus(); };
    c_.txtMinLen->LostFocus = [this] { txtMinLen_LostFocus(); };
    c_.txtMaxLen->LostFocus = [this] { txtMaxLen_LostFocus(); };
    c_.txtNum->LostFocus = [this] { txtNum_LostFocus(); };
    c_.txtOtherIn->LostFocus = [this] { txtOtherIn_LostFocus(); };
    c_.txtOtherOut->LostFocus = [this] { txtOtherOut_LostFocus(); };
}

void frmMain::Message(const std::string& text, const std::string& title) {
    env_.box->Show(text, kOkOnly, title);
}

void frmMain::Form_Load() {
    Trap("Form_Load", [&] {
        Initialize();
        Randomize();
    });
}

void frmMain::Initialize() {
    Trap("Initialize", [&] {
        c_.chkLetter->SetValue(1);
        c_.chkUpper->SetValue(1);
        c_.chkLower->SetValue(1);
        c_.chkNumber->SetValue(1);
        c_.chkSpecial->SetValue(1);
        c_.chkOtherIn->SetValue(0);
        c_.chkSpace->SetValue(1);
        c_.chkAlike->SetValue(0);
        c_.chkOtherOut->SetValue(0);
        c_.chkVarLen->SetValue(1);

        for (Enableable* item : c_.startup_enabled) item->SetEnabled(true);
        c_.chkVarLen->SetEnabled(true);
        c_.txtMinLen->SetEnabled(true);
        c_.txtMaxLen->SetEnabled(true);
        c_.txtNum->SetEnabled(true);
        c_.txtMinLen->SetText(U"6");
        c_.txtMaxLen->SetText(U"8");
        c_.txtNum->SetText(U"10");
        ChangeStatus(kStatusReady);

        generator_.reset();
    });
}

}  // namespace morvane
