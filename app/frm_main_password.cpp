// One password of a run, drawn by the generator, and the lengths a run
// takes as the user edits them.
#include "app/frm_main.h"
#include "options/number_text.h"
#include "platform/base/runtime_error.h"

namespace morvane {

Text frmMain::GeneratePassword() {
    return Trapped("GeneratePassword", Text(), [&] {
        Text password;
        if (!generator_) throw SubscriptError();
        if (!generator_->Next(password))
            throw RuntimeError(kErrInvalidCall, "No further distinct password could be found");
        return password;
    });
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

}  // namespace morvane
