// Appending the selected character classes to the pool.
#include "app/frm_main.h"
#include "engine/character_pool.h"

namespace morvane {

int frmMain::AddCharactersToArray() {
    int next = 0;
    arrCharacters_.clear();
    if (c_.chkSpace->Value() == 0) EnterSpaceIntoArray(next);
    if (c_.chkSpecial->Value() == 1) EnterSpecialIntoArray(next);
    if (c_.chkNumber->Value() == 1) EnterNumbersIntoArray(next);
    if (c_.chkUpper->Value() == 1) EnterUpperCaseIntoArray(next);
    if (c_.chkLower->Value() == 1) EnterLowerCaseIntoArray(next);
    if (c_.chkOtherIn->Value() == 1) EnterOtherIntoArray(next);
    return next - 1;
}

static int AppendAndCount(Pool& pool, CharacterClass which) {
    AppendClass(pool, which);
    return static_cast<int>(pool.size());
}

int frmMain::EnterSpaceIntoArray(int& next) { return next = AppendAndCount(arrCharacters_, CharacterClass::kSpace); }
int frmMain::EnterSpecialIntoArray(int& next) { return next = AppendAndCount(arrCharacters_, CharacterClass::kSpecial); }
int frmMain::EnterNumbersIntoArray(int& next) { return next = AppendAndCount(arrCharacters_, CharacterClass::kNumbers); }
int frmMain::EnterUpperCaseIntoArray(int& next) { return next = AppendAndCount(arrCharacters_, CharacterClass::kUpper); }
int frmMain::EnterLowerCaseIntoArray(int& next) { return next = AppendAndCount(arrCharacters_, CharacterClass::kLower); }

int frmMain::EnterOtherIntoArray(int& next) {
    Text text = c_.txtOtherIn->GetText();
    if (text.empty()) return next;
    AppendOther(arrCharacters_, text);
    return next = static_cast<int>(arrCharacters_.size());
}

}  // namespace morvane
