// Taking look-alikes and the user's own characters out of the pool again.
#include "app/frm_main.h"
#include "engine/character_pool.h"

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
        ChangeStatus(10);
        c_.txtOtherOut->SetFocus();
        Message("Exclude string includes all characters to include.\r\n"
                "Please change your exclude other string.",
                "INPUT ERROR: Exclude Other.");
    });
    return result;
}

}  // namespace morvane
