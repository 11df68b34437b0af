#pragma once

#include <cstdint>
#include <span>

#include "tags/file/ScratchBuffer.h"
#include "tags/mpeg/MpegByteSource.h"
#include "tags/mpeg/MpegHeader.h"
#include "tags/mpeg/MpegVbrHeader.h"

namespace velmora {

class BufferedFile;

// The audio facts of a file as players measure them. Only Layer III (MPEG-1, 2 and 2.5) is
// measured; for a Layer I or II stream the header facts are filled in but bitrate, vbr and
// duration stay 0.
struct MpegInfo {
    bool found = false;                  // a confirmed frame header was found
    std::uint64_t firstFrameOffset = 0;  // in the file
    MpegVersion version = MpegVersion::kMpeg1;
    std::uint8_t layer = 0;
    std::uint32_t sampleRate = 0;  // Hz
    MpegChannelMode channelMode = MpegChannelMode::kStereo;
    MpegVbrKind vbrHeader = MpegVbrKind::kNone;  // the VBR header used, if any
    std::uint32_t frameCount = 0;                // from that header; 0 = unknown

    std::uint16_t bitrate = 0;  // kbit/s; 0 = not measured
    bool vbr = false;
    std::uint32_t duration = 0;  // whole seconds
};

// Measures the audio between audioStart (right after a leading ID3v2 tag: header, body, footer)
// and audioEnd (the file size, less a trailing ID3v1 tag). Reads that region once, in order,
// and nothing outside the file however the offsets lie. Read and positioning errors throw
// CFileExceptionEx. `window` is the search memory (see FindFirstMpegFrame); without it the
// search allocates its own.
MpegInfo Measure(BufferedFile& file, std::uint64_t audioStart, std::uint64_t audioEnd,
                 ScratchBuffer& window);
MpegInfo Measure(BufferedFile& file, std::uint64_t audioStart, std::uint64_t audioEnd);

// The same over the bytes of a whole file held in memory.
MpegInfo Measure(std::span<const std::uint8_t> file, std::uint64_t audioStart,
                 std::uint64_t audioEnd);

// The measurement itself: `region` yields the audioBytes bytes that start at audioStart.
MpegInfo MeasureRegion(MpegByteSource& region, std::uint64_t audioStart, std::uint64_t audioBytes,
                       ScratchBuffer& window);

}  // namespace velmora
