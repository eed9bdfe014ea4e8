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
        ChangeStatus(10);
    });
    return result;
}

bool frmMain::IsCreatePassphraseMaker(std::optional<PassphraseMaker>& maker) {
    bool result = false;
    Trap("IsCreatePassphraseMaker", [&] {
        const GenerationChoice choice = Choice();
        std::string problem;
        const auto words = LoadWords(choice, problem);
        if (words) problem = PassphraseProblem(*words, choice.passphrase);
        if (!problem.empty()) {
            Message(problem, kPassphraseTitle);
            return;
        }
        if (c_.chkDuplicate->Value() == 1) {
            const int32_t requested = ToInt32(LeadingValue(c_.txtNum->GetText()));
            const int32_t possible = CountPassphrases(*words, choice.passphrase).AsRunCount();
            if (possible < requested) {
                CheckFailure failure = PossibleCountFailure(possible);
                c_.txtNum->SetFocus();
                Message(failure.message, failure.title);
                return;
            }
        }
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
        if (c_.chkDuplicate->Value() == 1) {
            OutputCount possible;
            for (int length = variable ? min_len : max_len; length <= max_len; ++length)
                possible = possible + rule->Count(length);
            const int32_t requested = ToInt32(LeadingValue(c_.txtNum->GetText()));
            if (possible.AsRunCount() < requested) {
                CheckFailure failure = PossibleCountFailure(possible.AsRunCount());
                c_.txtNum->SetFocus();
                Message(failure.message, failure.title);
                return;
            }
        }
        result = true;
    });
    return result;
}

}  // namespace morvane
