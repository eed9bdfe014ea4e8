// The length and count fields: their checks, refills, focus and trimming.
#include "app/frm_main.h"
#include "options/option_verdicts.h"
#include "platform/base/runtime_error.h"

namespace morvane {

// The length check shared by both length fields: in fixed-length mode a
// passing field is copied into the other one; an empty field is refilled.
bool frmMain::IsLengthField(TextBox* field, TextBox* other, const char32_t* refill, const CheckFailure& failure,
                            void (frmMain::*go_back)()) {
    switch (CheckLength(field->GetText())) {
        case FieldVerdict::kPasses:
            if (c_.chkVarLen->Value() == 0) other->SetText(field->GetText());
            return true;
        case FieldVerdict::kEmpty: field->SetText(refill); return false;
        case FieldVerdict::kOverflow: throw OverflowError();
        case FieldVerdict::kRefused: break;
    }
    (this->*go_back)();
    Message(failure.message, failure.title);
    return false;
}

bool frmMain::IsMinLen() {
    return Trapped("IsMinLen", false, [&] {
        return IsLengthField(c_.txtMinLen, c_.txtMaxLen, U"6", MinLengthFailure(), &frmMain::txtMinLen_GotFocus);
    });
}

bool frmMain::IsMaxLen() {
    return Trapped("IsMaxLen", false, [&] {
        return IsLengthField(c_.txtMaxLen, c_.txtMinLen, U"8", MaxLengthFailure(), &frmMain::txtMaxLen_GotFocus);
    });
}

bool frmMain::IsNumPass() {
    return Trapped("IsNumPass", false, [&] {
        switch (CheckCount(c_.txtNum->GetText())) {
            case FieldVerdict::kPasses: return true;
            case FieldVerdict::kEmpty: c_.txtNum->SetText(U"10"); return false;
            case FieldVerdict::kOverflow:
            case FieldVerdict::kRefused: break;
        }
        CheckFailure failure = CountFailure();
        txtNum_GotFocus();
        Message(failure.message, failure.title);
        return false;
    });
}

void frmMain::FocusAndSelectAll(TextBox* field) {
    try {
        field->SetFocus();
    } catch (const RuntimeError& e) {
        if (e.Number() != kErrInvalidCall) throw;  // a refused focus is passed over
    }
    field->SetSelStart(0);
    field->SetSelLength(static_cast<int>(field->GetText().size()));
}

void frmMain::txtMinLen_GotFocus() { Trap("txtMinLen_GotFocus", [&] { FocusAndSelectAll(c_.txtMinLen); }); }
void frmMain::txtMaxLen_GotFocus() { Trap("txtMaxLen_GotFocus", [&] { FocusAndSelectAll(c_.txtMaxLen); }); }
void frmMain::txtNum_GotFocus() { Trap("txtNum_GotFocus", [&] { FocusAndSelectAll(c_.txtNum); }); }

void frmMain::TrimField(TextBox* field) {
    Text text = field->GetText();
    size_t first = text.find_first_not_of(U' ');
    if (first == Text::npos) {
        field->SetText(U"");
        return;
    }
    size_t last = text.find_last_not_of(U' ');
    field->SetText(text.substr(first, last - first + 1));
}

void frmMain::txtMinLen_LostFocus() { Trap("txtMinLen_LostFocus", [&] { TrimField(c_.txtMinLen); }); }
void frmMain::txtMaxLen_LostFocus() { Trap("txtMaxLen_LostFocus", [&] { TrimField(c_.txtMaxLen); }); }
void frmMain::txtNum_LostFocus() { Trap("txtNum_LostFocus", [&] { TrimField(c_.txtNum); }); }
void frmMain::txtOtherIn_LostFocus() { Trap("txtOtherIn_LostFocus", [&] { TrimField(c_.txtOtherIn); }); }
void frmMain::txtOtherOut_LostFocus() { Trap("txtOtherOut_LostFocus", [&] { TrimField(c_.txtOtherOut); }); }

}  // namespace morvane
