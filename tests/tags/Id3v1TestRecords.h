#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

#include "tags/Id3v1Record.h"

namespace velmora::testing {

// "TAG", zero bytes and genre 255: the record of an empty tag.
inline Id3v1Record BlankId3v1() {
    Id3v1Record record{};
    record[0] = 'T';
    record[1] = 'A';
    record[2] = 'G';
    record[127] = 0xFF;
    return record;
}

inline Id3v1Record& Put(Id3v1Record& record, std::size_t at, std::string_view bytes) {
    std::copy(bytes.begin(), bytes.end(), record.begin() + static_cast<std::ptrdiff_t>(at));
    return record;
}

inline std::string AsBytes(const Id3v1Record& record) {
    return std::string(record.begin(), record.end());
}

}  // namespace velmora::testing
