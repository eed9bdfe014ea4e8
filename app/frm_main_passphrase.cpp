// Passphrases and the "each chosen type" rule in a run.
#include "app/frm_main.h"
#include "platform/base/runtime_error.h"

#include <cctype>

namespace morvane {
namespace {

const char* const kPassphraseTitle = "INPUT ERROR: Passphrase.";
const char* const kEachTypeTitle = "INPUT ERROR: One of each type.";
const char* const kSiteRulesTitle = "INPUT ERROR: Site rules.";

}  // namespace

// Passphrases and site rules read only the count of the window's values.
bool frmMain::IsVerifyPassphrase() {
    return Trapped("IsVerifyPassphrase", false, [&] {
        if (IsNumPass()) return true;
        ChangeStatus(kStatusInputError);
        return false;
    });
}

bool frmMain::IsCreatePassphraseMaker() {
    return Trapped("IsCreatePassphraseMaker", false, [&] {
        generator_ = std::make_shared<Generator>(Settings());
        switch (generator_->refusal()) {
            case GeneratorRefusal::kNone: return true;
            case GeneratorRefusal::kTooFewPossible: return IsPossibleEnough(generator_->possible().AsRunCount());
            default: Message(generator_->problem(), kPassphraseTitle); return false;
        }
    });
}

bool frmMain::IsCreateRuleGenerator() {
    return Trapped("IsCreateRuleGenerator", false, [&] {
        generator_ = std::make_shared<Generator>(Settings());
        switch (generator_->refusal()) {
            case GeneratorRefusal::kNone: return true;
            case GeneratorRefusal::kTooFewPossible: return IsPossibleEnough(generator_->possible().AsRunCount());
            default: {
                std::string problem = generator_->problem();
                if (!problem.empty()) problem[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(problem[0])));
                Message(problem + ".", kSiteRulesTitle);
                return false;
            }
        }
    });
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
