// The pool a run draws from, built by the generator from the settings.
#include "app/frm_main.h"
#include "platform/base/runtime_error.h"

namespace morvane {

const Pool& frmMain::arrCharacters() const {
    static const Pool kBeforeAnyRun{0};
    return generator_ ? generator_->pool() : kBeforeAnyRun;
}

bool frmMain::IsCreateArray() {
    return Trapped("IsCreateArray", false, [&] {
        generator_ = std::make_shared<Generator>(Settings());
        switch (generator_->refusal()) {
            case GeneratorRefusal::kNothingToDrawFrom: throw SubscriptError();
            case GeneratorRefusal::kPoolTooLarge: throw OverflowError();
            case GeneratorRefusal::kEmptiedByExclusion: {
                CheckFailure failure = ExclusionFailure();
                ChangeStatus(kStatusInputError);
                c_.txtOtherOut->SetFocus();
                Message(failure.message, failure.title);
                return false;
            }
            default: return IsNumMaxPossible();
        }
    });
}

bool frmMain::IsNumMaxPossible() {
    return Trapped("IsNumMaxPossible", false, [&] {
        // The each-type rule counts what it keeps itself.
        const bool too_few = generator_ && generator_->refusal() == GeneratorRefusal::kTooFewPossible &&
                             !generator_->settings().each_type();
        return !too_few || IsPossibleEnough(generator_->possible().AsRunCount());
    });
}

}  // namespace morvane
