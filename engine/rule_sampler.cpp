#include "engine/rule_sampler.h"

#include <cmath>
#include <stdexcept>

#include "engine/rand.h"
#include "engine/rule_count.h"

namespace morvane {

RuleSampler::RuleSampler(const PasswordRule& rule, int length) : rule_(rule), length_(length) {
    for (int c = 0; c < 128; ++c)
        if (rule.allowed.test(static_cast<size_t>(c))) alphabet_ += static_cast<char>(c);
    if (alphabet_.empty() || length < 1) throw std::invalid_argument("no character to draw from");
    const double kept = CountRulePasswords(rule, length).Log2();
    acceptance_ = std::exp2(kept - length * std::log2(static_cast<double>(alphabet_.size())));
    if (!(acceptance_ > 0)) throw std::invalid_argument("no password keeps the rule");
}

std::string RuleSampler::Draw() {
    std::string password(static_cast<size_t>(length_), ' ');
    std::vector<uint32_t> indexes(static_cast<size_t>(length_));
    do {
        DrawManyBelow(static_cast<uint32_t>(alphabet_.size()), indexes.data(), indexes.size());
        for (size_t i = 0; i < indexes.size(); ++i) password[i] = alphabet_[indexes[i]];
    } while (!KeepsRule(rule_, password));
    return password;
}

}  // namespace morvane
