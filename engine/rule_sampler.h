#pragma once
// Passwords that keep a Password Rule, each exactly as likely as any other
// of the same length: whole passwords are drawn from the allowed characters
// and those that break the rule are drawn again.
#include <string>
#include <vector>

#include "engine/password_rule.h"

namespace morvane {

class RuleSampler {
public:
    RuleSampler(const PasswordRule& rule, int length);
    // One password of the rule's characters, as ASCII.
    std::string Draw();
    // The share of whole draws that keep the rule, as counted exactly.
    double Acceptance() const { return acceptance_; }

private:
    PasswordRule rule_;
    int length_;
    std::string alphabet_;
    double acceptance_ = 0;
};

}  // namespace morvane
