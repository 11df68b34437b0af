#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tags/id3v1/Id3v1Record.h"
#include "tags/id3v1/Id3v1Tag.h"

namespace velmora::testing {

// Bytes placed at an offset of a record.
struct RecordEdit {
    std::size_t at;
    std::string bytes;
};

// "TAG", zero bytes and genre 255 (the record of an empty tag), with `edits` applied.
inline Id3v1Record RecordWith(const std::vector<RecordEdit>& edits = {}) {
    Id3v1Record record{'T', 'A', 'G'};
    record[127] = 0xFF;
    for (const RecordEdit& edit : edits) {
        std::copy(edit.bytes.begin(), edit.bytes.end(), record.begin() + edit.at);
    }
    return record;
}

inline std::string AsBytes(const Id3v1Record& record) {
    return std::string(record.begin(), record.end());
}

inline Id3v1Tag MakeId3v1(const std::array<std::u16string, 5>& texts, std::uint8_t track = 0,
                          std::uint8_t genre = 255) {
    Id3v1Tag tag;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        tag.SetText(i, texts[i]);
    }
    tag.SetTrack(track);
    tag.SetGenre(genre);
    return tag;
}

}  // namespace velmora::testing
