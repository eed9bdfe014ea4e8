// The length and count fields: their checks, refills, focus and trimming.
#include <string>

#include "app/frm_main.h"
#include "options/number_text.h"
#include "platform/runtime_error.h"

namespace morvane {
namespace {

constexpr int kShortestBound = 3;   // a length must be greater than this
constexpr int kLongestBound = 129;  // ... and less than this
constexpr int kLowestCount = 0;     // a count must be greater than this
constexpr int32_t kHighestCount = 2147483647;

std::string LengthMessage(const char* which) {
    return "Enter a value greater than " + std::to_string(kShortestBound) + " but less than " +
           std::to_string(kLongestBound) + " for " + which;
}

}  // namespace

bool frmMain::IsMinLen() {
    bool result = false;
    Trap("IsMinLen", [&] {
        Text text = c_.txtMinLen->GetText();
        if (IsNumericText(text)) {
            int length = ToInt16(LeadingValue(text));
            if (length > kShortestBound && length < kLongestBound) {
                result = true;
                if (c_.chkVarLen->Value() == 0) c_.txtMaxLen->SetText(c_.txtMinLen->GetText());
                return;
            }
        } else if (text.empty()) {
            c_.txtMinLen->SetText(U"6");
            return;
        }
        txtMinLen_GotFocus();
        Message(LengthMessage("Min Length"), "INPUT ERROR: Invalid Entry.");
    });
    return result;
}

bool frmMain::IsMaxLen() {
    bool result = false;
    Trap("IsMaxLen", [&] {
        Text text = c_.txtMaxLen->GetText();
        if (IsNumericText(text)) {
            int length = ToInt16(LeadingValue(text));
            if (length > kShortestBound && length < kLongestBound) {
                result = true;
                if (c_.chkVarLen->Value() == 0) c_.txtMinLen->SetText(c_.txtMaxLen->GetText());
                return;
            }
        } else if (text.empty()) {
            c_.txtMaxLen->SetText(U"8");
            return;
        }
        txtMaxLen_GotFocus();
        Message(LengthMessage("Max Length"), "INPUT ERROR: Invalid Entry");
    });
    return result;
}

bool frmMain::IsNumPass() {
    bool result = false;
    Trap("IsNumPass", [&] {
        Text text = c_.txtNum->GetText();
        if (IsNumericText(text)) {
            try {
                if (ToInt32(LeadingValue(text)) > kLowestCount) {
                    result = true;
                    return;
                }
            } catch (const RuntimeError& e) {
                if (e.Number() != kErrOverflow) throw;  // an overflow is a bad count
            }
        } else if (text.empty()) {
            c_.txtNum->SetText(U"10");
            return;
        }
        txtNum_GotFocus();
        Message("Enter a value less than " + std::to_string(kHighestCount) + " but greater than " +
                    std::to_string(kLowestCount) + " for Number of Passwords",
                "INPUT ERROR: Invalid Entry");
    });
    return result;
}

void frmMain::FocusAndSelectAll(TextBox* field) {
    try {
        field->SetFocus();
    } catch (const RuntimeError& e) {
        if (e.Number() != kErrInvalidCall) throw;  // a refused focus is passed over
    }
    field->SetSelStart(0);
    field->SetSelLength(static_cast<int>(field->GetText().size()));
}

void frmMain::txtMinLen_GotFocus() { Trap("txtMinLen_GotFocus", [&] { FocusAndSelectAll(c_.txtMinLen); }); }
void frmMain::txtMaxLen_GotFocus() { Trap("txtMaxLen_GotFocus", [&] { FocusAndSelectAll(c_.txtMaxLen); }); }
void frmMain::txtNum_GotFocus() { Trap("txtNum_GotFocus", [&] { FocusAndSelectAll(c_.txtNum); }); }

void frmMain::TrimField(TextBox* field) {
    Text text = field->GetText();
    size_t first = text.find_first_not_of(U' ');
    if (first == Text::npos) {
        field->SetText(U"");
        return;
    }
    size_t last = text.find_last_not_of(U' ');
    field->SetText(text.substr(first, last - first + 1));
}

void frmMain::txtMinLen_LostFocus() { Trap("txtMinLen_LostFocus", [&] { TrimField(c_.txtMinLen); }); }
void frmMain::txtMaxLen_LostFocus() { Trap("txtMaxLen_LostFocus", [&] { TrimField(c_.txtMaxLen); }); }
void frmMain::txtNum_LostFocus() { Trap("txtNum_LostFocus", [&] { TrimField(c_.txtNum); }); }
void frmMain::txtOtherIn_LostFocus() { Trap("txtOtherIn_LostFocus", [&] { TrimField(c_.txtOtherIn); }); }
void frmMain::txtOtherOut_LostFocus() { Trap("txtOtherOut_LostFocus", [&] { TrimField(c_.txtOtherOut); }); }

}  // namespace morvane
