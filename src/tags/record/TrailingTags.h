#pragma once

#include <cstdint>

namespace velmora {

class BufferedFile;

// APEv2 tags and Lyrics3 v2.00 blocks sit between the audio and the ID3v1 record, in either
// order. They are not audio: the measure of the stream stops before them. The writer never
// touches that part of the file, so they stay byte for byte.
//
// Where the audio that ends at `end` really ends, with the blocks found before `end` (and
// after `start`) left out. Read errors throw CFileExceptionEx.
std::uint64_t AudioEndBeforeTrailingTags(BufferedFile& file, std::uint64_t start,
                                         std::uint64_t end);

}  // namespace velmora
