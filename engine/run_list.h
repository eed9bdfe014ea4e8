#pragma once
// The passwords accepted by one run, one line each, with a hash index so
// that the duplicate test takes constant time.
#include <cstdint>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "platform/text.h"

namespace morvane {

class RunList {
public:
    RunList();
    void Add(const Text& password);
    // True when a line of the list equals `password`.
    bool Contains(const Text& password);
    // The list as text: every password followed by CR LF.
    Text AsText() const;
    size_t size() const { return starts_.size(); }

private:
    static constexpr uint32_t kProbe = UINT32_MAX;
    std::u32string_view Line(uint32_t index) const;
    void BuildIndex();

    struct Hash {
        const RunList* owner;
        size_t operator()(uint32_t index) const;
    };
    struct Equal {
        const RunList* owner;
        bool operator()(uint32_t a, uint32_t b) const { return owner->Line(a) == owner->Line(b); }
    };

    Text chars_;                   // the passwords, end to end
    std::vector<size_t> starts_;   // where each one starts
    const Text* probe_ = nullptr;  // the password being looked up
    bool indexed_ = false;         // the index is built on the first lookup
    std::unordered_set<uint32_t, Hash, Equal> index_;
};

}  // namespace morvane
