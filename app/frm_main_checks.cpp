// The checks made before every generation run.
#include "app/frm_main.h"
#include "options/option_verdicts.h"

namespace morvane {

bool frmMain::IsVerifyData() {
    return Trapped("IsVerifyData", false, [&] {
        if (IsInclude() && IsExclude() && IsValue()) return true;
        ChangeStatus(kStatusInputError);
        return false;
    });
}

bool frmMain::IsInclude() {
    return Trapped("IsInclude", false, [&] {
        const int letters = IsLetters();
        if (letters == kLettersWithoutCase) return false;
        if (letters == kLettersChosen) return true;
        if (IsNumbers() || IsSpecial() || IsIncludeOther()) return true;
        // A class of characters chosen elsewhere in the window counts too.
        GenerationSettings chosen = WindowSettings();
        ReadChoices(chosen);
        if (CheckInclude(false, chosen) == IncludeVerdict::kPasses) return true;
        CheckFailure failure = IncludeFailure(IncludeVerdict::kNothingChosen);
        c_.chkLetter->SetFocus();
        Message(failure.message, failure.title);
        return false;
    });
}

int frmMain::IsLetters() {
    return Trapped("IsLetters", int{kLettersOff}, [&]() -> int {
        if (c_.chkLetter->Value() != 1) return kLettersOff;
        GenerationSettings cases;
        cases.upper = c_.chkUpper->Value() == 1;
        cases.lower = c_.chkLower->Value() == 1;
        if (CheckInclude(true, cases) != IncludeVerdict::kNoLetterCase) return kLettersChosen;
        CheckFailure failure = IncludeFailure(IncludeVerdict::kNoLetterCase);
        c_.chkUpper->SetFocus();
        Message(failure.message, failure.title);
        return kLettersWithoutCase;
    });
}

bool frmMain::IsNumbers() {
    return Trapped("IsNumbers", false, [&] { return c_.chkNumber->Value() == 1; });
}

bool frmMain::IsSpecial() {
    return Trapped("IsSpecial", false, [&] { return c_.chkSpecial->Value() == 1; });
}

bool frmMain::IsIncludeOther() {
    return Trapped("IsIncludeOther", false,
                   [&] { return c_.chkOtherIn->Value() == 1 && !c_.txtOtherIn->GetText().empty(); });
}

bool frmMain::IsExclude() { return true; }

bool frmMain::IsValue() {
    return Trapped("IsValue", false, [&] {
        if (!IsMinLen() || !IsMaxLen()) return false;
        if (LengthsInOrder(c_.txtMinLen->GetText(), c_.txtMaxLen->GetText())) return IsNumPass();
        CheckFailure failure = OrderFailure();
        txtMinLen_GotFocus();
        Message(failure.message, failure.title);
        return false;
    });
}

}  // namespace morvane
