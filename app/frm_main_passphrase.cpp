// Passphrases and the "each chosen type" rule in a run.
#include "app/frm_main.h"
#include "platform/base/runtime_error.h"


namespace morvane {
namespace {

const char* const kPassphraseTitle = "INPUT ERROR: Passphrase.";
const char* const kEachTypeTitle = "INPUT ERROR: One of each type.";
const char* const kSiteRulesTitle = "INPUT ERROR: Site rules.";
const char* const kPronounceableTitle = "INPUT ERROR: Pronounceable.";

}  // namespace

// Passphrases, pronounceable passwords and site rules read only the count
// of the window's values.
bool frmMain::IsVerifyPassphrase() {
    return Trapped("IsVerifyPassphrase", false, [&] {
        if (IsNumPass()) return true;
        ChangeStatus(kStatusInputError);
        return false;
    });
}

bool frmMain::IsCreatePassphraseMaker() {
    return Trapped("IsCreatePassphraseMaker", false, [&] { return IsGeneratorBuilt(kPassphraseTitle); });
}

bool frmMain::IsCreatePronounceableMaker() {
    return Trapped("IsCreatePronounceableMaker", false, [&] { return IsGeneratorBuilt(kPronounceableTitle); });
}

bool frmMain::IsCreateRuleGenerator() {
    return Trapped("IsCreateRuleGenerator", false, [&] { return IsGeneratorBuilt(kSiteRulesTitle); });
}

// The generator of the settings, or its refusal in a message box: the
// problem as a sentence.
bool frmMain::IsGeneratorBuilt(const char* title) {
    generator_ = std::make_shared<Generator>(Settings());
    switch (generator_->refusal()) {
        case GeneratorRefusal::kNone: return true;
        case GeneratorRefusal::kTooFewPossible: return IsPossibleEnough(generator_->possible().AsRunCount());
        default: break;
    }
    std::string problem = generator_->problem();
    if (!problem.empty() && problem[0] >= 'a' && problem[0] <= 'z') problem[0] = static_cast<char>(problem[0] - 'a' + 'A');
    if (!problem.empty() && problem.back() != '.') problem += '.';
    Message(problem, title);
    return false;
}

// After IsCreateArray has built the generator with the rule.
bool frmMain::IsEachTypePossible() {
    return Trapped("IsEachTypePossible", false, [&] {
        if (!generator_) throw SubscriptError();
        switch (generator_->refusal()) {
            case GeneratorRefusal::kEachTypeImpossible:
                c_.txtMaxLen->SetFocus();
                Message(generator_->problem(), kEachTypeTitle);
                return false;
            case GeneratorRefusal::kTooFewPossible: return IsPossibleEnough(generator_->possible().AsRunCount());
            default: return true;
        }
    });
}

}  // namespace morvane
