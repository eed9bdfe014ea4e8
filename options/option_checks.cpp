// The checks made before every generation run.
#include "app/frm_main.h"
#include "options/number_text.h"

namespace morvane {

bool frmMain::IsVerifyData() {
    bool result = false;
    Trap("IsVerifyData", [&] {
        if (IsInclude() && IsExclude() && IsValue()) {
            result = true;
            return;
        }
        ChangeStatus(10);
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
        c_.chkLetter->SetFocus();
        Message("Enter at least one type of character to generate.",
                "INPUT ERROR: Insufficient characters.");
    });
    return result;
}

int frmMain::IsLetters() {
    int result = 0;
    Trap("IsLetters", [&] {
        if (c_.chkLetter->Value() != 1) return;
        result = 1;
        if (c_.chkUpper->Value() != 1 && c_.chkLower->Value() != 1) {
            result = 2;
            c_.chkUpper->SetFocus();
            Message("Enter type of letters to use.\r\nUppercase or Lowercase.",
                    "INPUT ERROR: Choose Type.");
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
        double max_value = LeadingValue(c_.txtMaxLen->GetText());
        double min_value = LeadingValue(c_.txtMinLen->GetText());
        if (max_value >= min_value) {
            result = IsNumPass();
            return;
        }
        txtMinLen_GotFocus();
        Message("Min Length should be less than or equal to Max Length.",
                "INPUT ERROR: Invalid Entry.");
    });
    return result;
}

}  // namespace morvane
