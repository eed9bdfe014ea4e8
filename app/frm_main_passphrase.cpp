// Passphrases and the "each chosen type" rule in a run.
#include "app/frm_main.h"
#include "options/number_text.h"

namespace morvane {
namespace {

const char* const kPassphraseTitle = "INPUT ERROR: Passphrase.";
const char* const kEachTypeTitle = "INPUT ERROR: One of each type.";

}  // namespace

GenerationChoice frmMain::Choice() const {
    return env_.generation_choice ? env_.generation_choice() : GenerationChoice{};
}

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

bool frmMain::IsCreatePassphraseMaker(std::optional<PassphraseMaker>& maker) {
    bool result = false;
    Trap("IsCreatePassphraseMaker", [&] {
        const GenerationChoice choice = Choice();
        std::string problem;
        const auto words = LoadPassphraseWords(choice, problem);
        if (!words) {
            Message(problem, kPassphraseTitle);
            return;
        }
        if (c_.chkDuplicate->Value() == 1 &&
            !IsPossibleEnough(CountPassphrases(*words, choice.passphrase).AsRunCount()))
            return;
        maker.emplace(*words, choice.passphrase);
        result = true;
    });
    return result;
}

bool frmMain::IsEachTypePossible(std::optional<EachTypeRule>& rule) {
    bool result = false;
    Trap("IsEachTypePossible", [&] {
        PoolChoice types;
        types.upper = c_.chkUpper->Value() == 1;
        types.lower = c_.chkLower->Value() == 1;
        types.numbers = c_.chkNumber->Value() == 1;
        types.special = c_.chkSpecial->Value() == 1;
        types.other_in = c_.chkOtherIn->Value() == 1;
        types.other_in_text = c_.txtOtherIn->GetText();
        rule.emplace(types, arrCharacters_);
        const int max_len = ToInt16(LeadingValue(c_.txtMaxLen->GetText()));
        const int min_len = ToInt16(LeadingValue(c_.txtMinLen->GetText()));
        const bool variable = c_.chkVarLen->Value() == 1;
        if (std::string problem = rule->Problem(min_len, max_len, variable); !problem.empty()) {
            c_.txtMaxLen->SetFocus();
            Message(problem, kEachTypeTitle);
            return;
        }
        const bool unique = c_.chkDuplicate->Value() == 1;
        if (unique && !IsPossibleEnough(rule->CountOver(min_len, max_len, variable).AsRunCount())) return;
        result = true;
    });
    return result;
}

}  // namespace morvane
