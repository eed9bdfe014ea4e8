// The pool a run draws from, built by the generator from the settings.
#include "app/frm_main.h"
#include "platform/runtime_error.h"

namespace morvane {

bool frmMain::IsCreateArray() {
    bool result = false;
    Trap("IsCreateArray", [&] {
        generator_.emplace(Settings());
        arrCharacters_ = generator_->pool();
        switch (generator_->refusal()) {
            case GeneratorRefusal::kNothingToDrawFrom: throw SubscriptError();
            case GeneratorRefusal::kPoolTooLarge: throw OverflowError();
            case GeneratorRefusal::kEmptiedByExclusion: {
                CheckFailure failure = ExclusionFailure();
                ChangeStatus(kStatusInputError);
                c_.txtOtherOut->SetFocus();
                Message(failure.message, failure.title);
                return;
            }
            default: break;
        }
        if (!IsNumMaxPossible()) return;
        result = true;
    });
    return result;
}

bool frmMain::IsNumMaxPossible() {
    bool result = false;
    Trap("IsNumMaxPossible", [&] {
        // The each-type rule counts what it keeps itself.
        const bool too_few = generator_ && generator_->refusal() == GeneratorRefusal::kTooFewPossible &&
                             !generator_->settings().each_type();
        result = !too_few || IsPossibleEnough(generator_->possible().AsRunCount());
    });
    return result;
}

}  // namespace morvane
