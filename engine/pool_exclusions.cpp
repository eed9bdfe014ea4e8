// Taking look-alikes and the user's own characters out of the pool again.
#include <unordered_set>

#include "app/frm_main.h"

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
        Pool codes = GetOther(unwanted);
        std::unordered_set<char32_t> excluded(codes.begin(), codes.end());
        Pool& pool = arrCharacters_;
        size_t i = 0;
        while (i < pool.size()) {
            if (!excluded.count(pool[i])) {
                ++i;
                continue;
            }
            // The last entry fills the hole and is tested in its turn.
            pool[i] = pool.back();
            pool.pop_back();
            if (pool.empty()) {
                ChangeStatus(10);
                c_.txtOtherOut->SetFocus();
                Message("Exclude string includes all characters to include.\r\n"
                        "Please change your exclude other string.",
                        "INPUT ERROR: Exclude Other.");
                return;
            }
        }
        pool.shrink_to_fit();
        result = true;
    });
    return result;
}

}  // namespace morvane
