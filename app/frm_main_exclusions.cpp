// Taking look-alikes and the user's own characters out of the pool again.
#include "app/frm_main.h"
#include "engine/character_pool.h"
#include "options/option_verdicts.h"

namespace morvane {

bool frmMain::IsRemoveCharactersFromArray() {
    bool result = false;
    Trap("IsRemoveCharactersFromArray", [&] {
        if (c_.chkAlike->Value() == 1 && !IsRemoveLookAlikeFromArray()) return;
        if (c_.chkOtherOut->Value() == 1 && !IsRemoveOtherFromArray()) return;
        result = true;
    });
    return result;
}

bool frmMain::IsRemoveLookAlikeFromArray() {
    bool result = false;
    Trap("IsRemoveLookAlikeFromArray", [&] { result = IsRemoveUnwantedFromArray(kLookAlikes); });
    return result;
}

bool frmMain::IsRemoveOtherFromArray() {
    bool result = false;
    Trap("IsRemoveOtherFromArray", [&] {
        Text text = c_.txtOtherOut->GetText();
        // An empty exclude field excludes nothing.
        result = text.empty() ? true : IsRemoveUnwantedFromArray(text);
    });
    return result;
}

bool frmMain::IsRemoveUnwantedFromArray(const Text& unwanted) {
    bool result = false;
    Trap("IsRemoveUnwantedFromArray", [&] {
        if (RemoveUnwanted(arrCharacters_, unwanted)) {
            result = true;
            return;
        }
        CheckFailure failure = ExclusionFailure();
        ChangeStatus(kStatusInputError);
        c_.txtOtherOut->SetFocus();
        Message(failure.message, failure.title);
    });
    return result;
}

}  // namespace morvane
