#include "tags/mpeg/MpegInfo.h"

#include <algorithm>

#include "tags/mpeg/MpegAverages.h"
#include "tags/mpeg/MpegFrameSearch.h"

namespace velmora {
namespace {

// A VBR header counts only with a frame count above 0; otherwise the frame header stands.
bool Usable(const MpegVbrHeader& vbrHeader) {
    return vbrHeader.kind != MpegVbrKind::kNone && vbrHeader.frames.value_or(0) > 0;
}

void MeasureLayer3(const MpegFirstFrame& first, std::uint64_t audioBytes, MpegInfo& info) {
    const MpegHeader& header = first.header;
    info.bitrate = header.BitrateKbps();
    const MpegVbrHeader vbrHeader = ReadVbrHeader(header, first.bytes);
    if (!Usable(vbrHeader)) {
        info.duration = DurationFromBytes(audioBytes, info.bitrate);
        return;
    }
    info.vbrHeader = vbrHeader.kind;
    info.frameCount = *vbrHeader.frames;
    info.duration = DurationFromFrames(info.frameCount, header.SamplesPerFrame(), info.sampleRate);
    // "Info" is the constant-bitrate form of the header: the frame header's bitrate is right.
    if (vbrHeader.kind == MpegVbrKind::kInfo)
        return;
    info.vbr = true;
    // Without a byte count the stream's own size stands in for it.
    const std::uint64_t bytes = vbrHeader.bytes.value_or(0) > 0 ? *vbrHeader.bytes : audioBytes;
    info.bitrate =
        AverageBitrateKbps(info.sampleRate, header.SamplesPerFrame(), bytes, info.frameCount);
}

}  // namespace

MpegInfo MeasureRegion(MpegByteSource& region, std::uint64_t audioStart, std::uint64_t audioBytes,
                       ScratchBuffer& window) {
    MpegInfo info;
    auto first = FindFirstMpegFrame(region, window);
    if (!first)
        return info;
    info.found = true;
    info.firstFrameOffset = audioStart + first->offset;
    info.version = first->header.version;
    info.layer = first->header.layer;
    info.sampleRate = first->header.SampleRate();
    info.channelMode = first->header.channelMode;
    if (info.layer == 3)
        MeasureLayer3(*first, audioBytes, info);
    return info;
}

MpegInfo Measure(std::span<const std::uint8_t> file, std::uint64_t audioStart,
                 std::uint64_t audioEnd) {
    const std::uint64_t end = std::min<std::uint64_t>(audioEnd, file.size());
    const std::uint64_t start = std::min(audioStart, end);
    MpegSpanSource region(file.subspan(start, end - start));
    ScratchBuffer window;
    return MeasureRegion(region, start, end - start, window);
}

}  // namespace velmora
