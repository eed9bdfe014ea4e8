// One password of a run, drawn by the generator: its length, then each
// character from the pool.
#include "app/frm_main.h"
#include "options/number_text.h"
#include "platform/runtime_error.h"

namespace morvane {

Text frmMain::GeneratePassword() {
    Text password;
    Trap("GeneratePassword", [&] {
        if (!generator_) throw SubscriptError();
        if (!generator_->Next(password))
            throw RuntimeError(kErrInvalidCall, "No further distinct password could be found");
    });
    return password;
}

int frmMain::GetPasswordLength() {
    int length = 0;
    Trap("GetPasswordLength", [&] {
        TakeLengthEdits();
        length = generator_->DrawLength();
    });
    return length;
}

// Lengths the user changed while a run goes on reach the passwords still
// to come, once they pass the checks; until then the last good ones hold.
void frmMain::TakeLengthEdits() {
    if (!generator_) throw SubscriptError();
    const Text min_text = c_.txtMinLen->GetText(), max_text = c_.txtMaxLen->GetText();
    const bool variable = c_.chkVarLen->Value() == 1;
    if (CheckLength(max_text) != FieldVerdict::kPasses) return;
    if (variable && (CheckLength(min_text) != FieldVerdict::kPasses || !LengthsInOrder(min_text, max_text))) return;
    const int max_length = ToInt16(LeadingValue(max_text));
    const int min_length = variable ? ToInt16(LeadingValue(min_text)) : max_length;
    generator_->SetLengths(min_length, max_length, variable);
}

char32_t frmMain::GenerateCharacter() {
    char32_t character = 0;
    Trap("GenerateCharacter", [&] {
        if (!generator_) throw SubscriptError();
        character = generator_->DrawCharacter();
    });
    return character;
}

}  // namespace morvane
