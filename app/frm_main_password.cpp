// One password: its length, then each character drawn from the pool.
#include "app/frm_main.h"
#include "engine/rand.h"
#include "options/number_text.h"
#include "platform/runtime_error.h"

namespace morvane {

Text frmMain::GeneratePassword() {
    Text password;
    Trap("GeneratePassword", [&] {
        int length = GetPasswordLength();
        password.reserve(static_cast<size_t>(length > 0 ? length : 0));
        for (int i = 0; i < length; ++i) password.push_back(GenerateCharacter());
    });
    return password;
}

int frmMain::GetPasswordLength() {
    int length = 0;
    Trap("GetPasswordLength", [&] {
        length = ToInt16(LeadingValue(c_.txtMaxLen->GetText()));
        if (c_.chkVarLen->Value() == 1) {
            int minimum = ToInt16(LeadingValue(c_.txtMinLen->GetText()));
            length = Rand(minimum, length);
        }
    });
    return length;
}

char32_t frmMain::GenerateCharacter() {
    char32_t character = 0;
    Trap("GenerateCharacter", [&] {
        if (arrCharacters_.empty()) throw SubscriptError();
        int index = Rand(0, static_cast<int32_t>(arrCharacters_.size()) - 1);
        character = arrCharacters_[static_cast<size_t>(index)];
    });
    return character;
}

}  // namespace morvane
