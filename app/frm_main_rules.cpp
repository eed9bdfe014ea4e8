// How some options follow others while the user edits: the letter boxes and
// the fixed-length pairing of the two length fields.
#include "app/frm_main.h"

namespace morvane {

void frmMain::chkLetter_Click() {
    Trap("chkLetter_Click", [&] {
        if (c_.chkLetter->Value() == 0) {
            c_.chkUpper->SetValue(0);
            c_.chkLower->SetValue(0);
        }
    });
}

void frmMain::LetterCaseStepB() {
    int upper = c_.chkUpper->Value();
    int lower = c_.chkLower->Value();
    c_.chkLetter->SetValue(upper == 0 && lower == 0 ? 0 : 1);
}

void frmMain::chkUpper_Click() { Trap("chkUpper_Click", [&] { LetterCaseStepB(); }); }

void frmMain::chkLower_Click() { Trap("chkLower_Click", [&] { LetterCaseStepB(); }); }

void frmMain::chkVarLen_Click() {
    Trap("chkVarLen_Click", [&] {
        if (c_.chkVarLen->Value() == 0) c_.txtMinLen->SetText(c_.txtMaxLen->GetText());
    });
}

void frmMain::txtMaxLen_Change() {
    Trap("txtMaxLen_Change", [&] {
        if (c_.chkVarLen->Value() == 0) c_.txtMinLen->SetText(c_.txtMaxLen->GetText());
    });
}

void frmMain::txtMinLen_Change() {
    Trap("txtMinLen_Change", [&] {
        if (c_.chkVarLen->Value() == 0) c_.txtMaxLen->SetText(c_.txtMinLen->GetText());
    });
}

}  // namespace morvane
