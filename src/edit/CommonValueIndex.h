#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "edit/CommonValue.h"

namespace velmora::edit {

// The common value of some texts over every record of a list, known at any time without
// reading the records: each record's texts are kept as hashes, updated as records are added
// or change, and each text's hashes are summed over the list. The sum is the count times
// the hash of one record's text when every record holds that text; when they differ, only
// by a chance far below one in a trillion.
class CommonValueIndex {
  public:
    CommonValueIndex(std::size_t count, TextsOf textOf);

    void Clear();
    // The records follow those added before, each in the next slot.
    void Append(std::span<Mp3File* const> records);
    // The record in `slot` changed, or another record took its place.
    void Update(std::size_t slot, const Mp3File& record);
    std::size_t Size() const { return hashes_.size() / count_; }
    // What CommonValues gives over every record; `any` is one of them, read for the text
    // they share.
    std::vector<CommonText> Common(const Mp3File& any) const;

  private:
    std::uint64_t HashOf(const Mp3File& record, std::size_t index) const;

    TextsOf textOf_;
    std::size_t count_;
    // `count_` hashes per slot, then the sums over the slots of each text's hash.
    std::vector<std::uint64_t> hashes_;
    std::vector<std::uint64_t> sums_;
};

}  // namespace velmora::edit
