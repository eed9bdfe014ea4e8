#include "engine/run_list.h"

#include <functional>

namespace morvane {

RunList::RunList() : index_(0, Hash{this}, Equal{this}) {}

std::u32string_view RunList::Line(uint32_t index) const {
    if (index == kProbe) return *probe_;
    size_t start = starts_[index];
    size_t end = index + 1 < starts_.size() ? starts_[index + 1] : chars_.size();
    return std::u32string_view(chars_).substr(start, end - start);
}

size_t RunList::Hash::operator()(uint32_t index) const {
    return std::hash<std::u32string_view>{}(owner->Line(index));
}

void RunList::Add(const Text& password) {
    starts_.push_back(chars_.size());
    chars_ += password;
    if (indexed_) index_.insert(static_cast<uint32_t>(starts_.size() - 1));
}

void RunList::BuildIndex() {
    index_.reserve(starts_.size() * 2);
    for (uint32_t i = 0; i < starts_.size(); ++i) index_.insert(i);
    indexed_ = true;
}

bool RunList::Contains(const Text& password) {
    if (!indexed_) BuildIndex();
    probe_ = &password;
    bool found = index_.find(kProbe) != index_.end();
    probe_ = nullptr;
    return found;
}

Text RunList::AsText() const {
    Text out;
    for (uint32_t i = 0; i < starts_.size(); ++i) {
        out += Line(i);
        out += U"\r\n";
    }
    return out;
}

}  // namespace morvane
