#include "tags/mpeg/MpegHeader.h"

#include <algorithm>

#include "tags/file/ByteCursor.h"
#include "tags/mpeg/MpegTables.h"

namespace velmora {
namespace {

const mpeg::BitrateRow& BitrateRowFor(MpegVersion version, std::uint8_t layer) {
    if (version == MpegVersion::kMpeg1) {
        if (layer == 1)
            return mpeg::kMpeg1Layer1Bitrates;
        return layer == 2 ? mpeg::kMpeg1Layer2Bitrates : mpeg::kMpeg1Layer3Bitrates;
    }
    return layer == 1 ? mpeg::kMpeg2Layer1Bitrates : mpeg::kMpeg2Layer2And3Bitrates;
}

const mpeg::SampleRateRow& SampleRateRowFor(MpegVersion version) {
    switch (version) {
        case MpegVersion::kMpeg1:
            return mpeg::kMpeg1SampleRates;
        case MpegVersion::kMpeg2:
            return mpeg::kMpeg2SampleRates;
        case MpegVersion::kMpeg25:
            break;
    }
    return mpeg::kMpeg25SampleRates;
}

}  // namespace

std::uint16_t MpegHeader::BitrateKbps() const {
    return BitrateRowFor(version, layer).at(bitrateIndex);
}

std::uint32_t MpegHeader::SampleRate() const {
    return SampleRateRowFor(version).at(sampleRateIndex);
}

std::uint32_t MpegHeader::SamplesPerFrame() const {
    if (layer == 1)
        return mpeg::kLayer1Samples;
    if (layer == 2)
        return mpeg::kLayer2Samples;
    return version == MpegVersion::kMpeg1 ? mpeg::kMpeg1Layer3Samples : mpeg::kMpeg2Layer3Samples;
}

std::uint32_t MpegHeader::FrameLength() const {
    const std::uint32_t bitsPerSecond = BitrateKbps() * 1000u;
    // Layer I counts in 4-byte slots, the others in bytes (ISO/IEC 11172-3, 2.4.3.1).
    if (layer == 1)
        return (12 * bitsPerSecond / SampleRate() + (padded ? 1 : 0)) * 4;
    return SamplesPerFrame() / 8 * bitsPerSecond / SampleRate() + (padded ? 1 : 0);
}

std::uint32_t MpegHeader::SideInfoSize() const {
    if (layer != 3)
        return 0;
    const bool mono = channelMode == MpegChannelMode::kSingleChannel;
    if (version == MpegVersion::kMpeg1)
        return mono ? mpeg::kMpeg1MonoSideInfo : mpeg::kMpeg1StereoSideInfo;
    return mono ? mpeg::kMpeg2MonoSideInfo : mpeg::kMpeg2StereoSideInfo;
}

bool MpegHeader::SameStreamAs(const MpegHeader& next) const {
    return version == next.version && layer == next.layer &&
           sampleRateIndex == next.sampleRateIndex;
}

std::optional<MpegHeader> ParseMpegHeader(std::uint32_t word) {
    const std::uint32_t sync = word >> 21;
    const std::uint32_t versionBits = (word >> 19) & 3;
    const std::uint32_t layerBits = (word >> 17) & 3;
    const std::uint32_t bitrateIndex = (word >> 12) & 15;
    const std::uint32_t sampleRateIndex = (word >> 10) & 3;
    if (sync != 0x7FF || versionBits == 1 || layerBits == 0 || bitrateIndex == 0 ||
        bitrateIndex == 15 || sampleRateIndex == 3)
        return std::nullopt;

    MpegHeader header;
    header.version = versionBits == 3   ? MpegVersion::kMpeg1
                     : versionBits == 2 ? MpegVersion::kMpeg2
                                        : MpegVersion::kMpeg25;
    header.layer = static_cast<std::uint8_t>(4 - layerBits);
    header.crcProtected = ((word >> 16) & 1) == 0;
    header.bitrateIndex = static_cast<std::uint8_t>(bitrateIndex);
    header.sampleRateIndex = static_cast<std::uint8_t>(sampleRateIndex);
    header.padded = ((word >> 9) & 1) != 0;
    header.channelMode = static_cast<MpegChannelMode>((word >> 6) & 3);
    return header;
}

std::optional<MpegHeader> ParseMpegHeader(std::span<const std::uint8_t> bytes) {
    auto word = ByteCursor(bytes, "MPEG header").TakeBigEndian32();
    if (!word)
        return std::nullopt;
    return ParseMpegHeader(*word);
}

std::uint32_t MaxMpegFrameLength() {
    static const std::uint32_t longest = [] {
        std::uint32_t result = 0;
        for (MpegVersion version :
             {MpegVersion::kMpeg1, MpegVersion::kMpeg2, MpegVersion::kMpeg25}) {
            for (std::uint8_t layer = 1; layer <= 3; ++layer) {
                for (std::uint8_t rate = 0; rate < 3; ++rate) {
                    for (std::uint8_t index = 1; index < 15; ++index) {
                        MpegHeader header{
                            version, layer, false, index, rate, true, MpegChannelMode::kStereo};
                        result = std::max(result, header.FrameLength());
                    }
                }
            }
        }
        return result;
    }();
    return longest;
}

}  // namespace velmora
