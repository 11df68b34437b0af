#include "edit/CommonValueIndex.h"

#include <functional>
#include <string_view>
#include <utility>

namespace velmora::edit {

CommonValueIndex::CommonValueIndex(std::size_t count, TextsOf textOf)
    : textOf_(std::move(textOf)), count_(count), sums_(count) {}

std::uint64_t CommonValueIndex::HashOf(const Mp3File& record, std::size_t index) const {
    return std::hash<std::u16string_view>()(textOf_(record, index));
}

void CommonValueIndex::Clear() {
    hashes_.clear();
    hashes_.shrink_to_fit();
    sums_.assign(count_, 0);
}

void CommonValueIndex::Append(std::span<Mp3File* const> records) {
    for (const Mp3File* record : records) {
        for (std::size_t index = 0; index < count_; ++index) {
            const std::uint64_t hash = HashOf(*record, index);
            hashes_.push_back(hash);
            sums_[index] += hash;
        }
    }
}

void CommonValueIndex::Update(std::size_t slot, const Mp3File& record) {
    for (std::size_t index = 0; index < count_; ++index) {
        std::uint64_t& kept = hashes_[slot * count_ + index];
        const std::uint64_t hash = HashOf(record, index);
        // Sums wrap around: what is taken off is what was added.
        sums_[index] += hash - kept;
        kept = hash;
    }
}

std::vector<CommonText> CommonValueIndex::Common(const Mp3File& any) const {
    std::vector<CommonText> common(count_);
    for (std::size_t index = 0; index < count_; ++index) {
        std::u16string text = textOf_(any, index);
        const std::uint64_t hash = std::hash<std::u16string_view>()(text);
        if (sums_[index] != hash * Size())
            common[index] = {{}, Shown::Multiple};
        else if (text.empty())
            common[index] = {{}, Shown::Empty};
        else
            common[index] = {std::move(text), Shown::Normal};
    }
    return common;
}

}  // namespace velmora::edit
