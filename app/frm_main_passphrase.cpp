// Passphrases and the "each chosen type" rule in a run.
#include "app/frm_main.h"

namespace morvane {
namespace {

const char* const kPassphraseTitle = "INPUT ERROR: Passphrase.";
const char* const kEachTypeTitle = "INPUT ERROR: One of each type.";

}  // namespace

// Passphrases read only the count of the window's values.
bool frmMain::IsVerifyPassphrase() {
    bool result = false;
    Trap("IsVerifyPassphrase", [&] {
        if (IsNumPass()) {
            result = true;
            return;
        }
        ChangeStatus(kStatusInputError);
    });
    return result;
}

bool frmMain::IsCreatePassphraseMaker() {
    bool result = false;
    Trap("IsCreatePassphraseMaker", [&] {
        generator_.emplace(Settings());
        switch (generator_->refusal()) {
            case GeneratorRefusal::kNone: result = true; break;
            case GeneratorRefusal::kTooFewPossible: IsPossibleEnough(generator_->possible().AsRunCount()); break;
            default: Message(generator_->problem(), kPassphraseTitle); break;
        }
    });
    return result;
}

// After IsCreateArray has built the generator with the rule.
bool frmMain::IsEachTypePossible() {
    bool result = false;
    Trap("IsEachTypePossible", [&] {
        if (!generator_) throw SubscriptError();
        switch (generator_->refusal()) {
            case GeneratorRefusal::kEachTypeImpossible:
                c_.txtMaxLen->SetFocus();
                Message(generator_->problem(), kEachTypeTitle);
                break;
            case GeneratorRefusal::kTooFewPossible: IsPossibleEnough(generator_->possible().AsRunCount()); break;
            default: result = true; break;
        }
    });
    return result;
}

}  // namespace morvane
