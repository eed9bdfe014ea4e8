// Appending the selected character classes to the pool.
#include "app/frm_main.h"
#include "platform/runtime_error.h"

namespace morvane {
namespace {

constexpr int kMaxPoolEntries = 32767;  // indexes are 16-bit

void Append(Pool& pool, int& next, char32_t first, char32_t last) {
    if (next + static_cast<int>(last - first) + 1 > kMaxPoolEntries) throw OverflowError();
    for (char32_t c = first; c <= last; ++c) pool.push_back(c);
    next = static_cast<int>(pool.size());
}

}  // namespace

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

int frmMain::EnterSpaceIntoArray(int& next) {
    Append(arrCharacters_, next, U' ', U' ');
    return next;
}

int frmMain::EnterSpecialIntoArray(int& next) {
    Append(arrCharacters_, next, 33, 47);
    Append(arrCharacters_, next, 58, 64);
    Append(arrCharacters_, next, 91, 96);
    Append(arrCharacters_, next, 123, 126);
    return next;
}

int frmMain::EnterNumbersIntoArray(int& next) {
    Append(arrCharacters_, next, U'0', U'9');
    return next;
}

int frmMain::EnterUpperCaseIntoArray(int& next) {
    Append(arrCharacters_, next, U'A', U'Z');
    return next;
}

int frmMain::EnterLowerCaseIntoArray(int& next) {
    Append(arrCharacters_, next, U'a', U'z');
    return next;
}

int frmMain::EnterOtherIntoArray(int& next) {
    Text text = c_.txtOtherIn->GetText();
    if (text.empty()) return next;
    for (char32_t code : GetOther(text)) Append(arrCharacters_, next, code, code);
    return next;
}

}  // namespace morvane
