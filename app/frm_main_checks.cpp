// The checks made before every generation run.
#include "app/frm_main.h"
#include "options/option_verdicts.h"

namespace morvane {

bool frmMain::IsVerifyData() {
    bool result = false;
    Trap("IsVerifyData", [&] {
        if (IsInclude() && IsExclude() && IsValue()) {
            result = true;
            return;
        }
        ChangeStatus(kStatusInputError);
    });
    return result;
}

bool frmMain::IsInclude() {
    bool result = false;
    Trap("IsInclude", [&] {
        result = true;
        int letters = IsLetters();
        if (letters == 2) {
            result = false;
            return;
        }
        if (letters == 1) return;
        if (IsNumbers() || IsSpecial() || IsIncludeOther()) return;
        result = false;
        CheckFailure failure = IncludeFailure(IncludeVerdict::kNothingChosen);
        c_.chkLetter->SetFocus();
        Message(failure.message, failure.title);
    });
    return result;
}

int frmMain::IsLetters() {
    int result = 0;
    Trap("IsLetters", [&] {
        if (c_.chkLetter->Value() != 1) return;
        result = 1;
        if (CheckInclude(true, c_.chkUpper->Value() == 1, c_.chkLower->Value() == 1, false, false, false,
                         U"") == IncludeVerdict::kNoLetterCase) {
            result = 2;
            CheckFailure failure = IncludeFailure(IncludeVerdict::kNoLetterCase);
            c_.chkUpper->SetFocus();
            Message(failure.message, failure.title);
        }
    });
    return result;
}

bool frmMain::IsNumbers() {
    bool result = false;
    Trap("IsNumbers", [&] { result = c_.chkNumber->Value() == 1; });
    return result;
}

bool frmMain::IsSpecial() {
    bool result = false;
    Trap("IsSpecial", [&] { result = c_.chkSpecial->Value() == 1; });
    return result;
}

bool frmMain::IsIncludeOther() {
    bool result = false;
    Trap("IsIncludeOther", [&] {
        result = c_.chkOtherIn->Value() == 1 && !c_.txtOtherIn->GetText().empty();
    });
    return result;
}

bool frmMain::IsExclude() { return true; }

bool frmMain::IsValue() {
    bool result = false;
    Trap("IsValue", [&] {
        if (!IsMinLen()) return;
        if (!IsMaxLen()) return;
        if (LengthsInOrder(c_.txtMinLen->GetText(), c_.txtMaxLen->GetText())) {
            result = IsNumPass();
            return;
        }
        CheckFailure failure = OrderFailure();
        txtMinLen_GotFocus();
        Message(failure.message, failure.title);
    });
    return result;
}

}  // namespace morvane
