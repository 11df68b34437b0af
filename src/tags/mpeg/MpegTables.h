#pragma once

#include <array>
#include <cstdint>

namespace velmora::mpeg {

// Bitrates in kbit/s by the header's 4-bit index; index 0 (free format) and 15 (forbidden)
// hold 0.
using BitrateRow = std::array<std::uint16_t, 16>;

// ISO/IEC 11172-3, 2.4.2.3: MPEG-1 Layer I, II and III.
inline constexpr BitrateRow kMpeg1Layer1Bitrates = {0,   32,  64,  96,  128, 160, 192, 224,
                                                    256, 288, 320, 352, 384, 416, 448, 0};
inline constexpr BitrateRow kMpeg1Layer2Bitrates = {0,   32,  48,  56,  64,  80,  96,  112,
                                                    128, 160, 192, 224, 256, 320, 384, 0};
inline constexpr BitrateRow kMpeg1Layer3Bitrates = {0,   32,  40,  48,  56,  64,  80,  96,
                                                    112, 128, 160, 192, 224, 256, 320, 0};

// ISO/IEC 13818-3, 2.4.2.3: the lower sampling frequencies (also used by MPEG-2.5).
inline constexpr BitrateRow kMpeg2Layer1Bitrates = {0,   32,  48,  56,  64,  80,  96,  112,
                                                    128, 144, 160, 176, 192, 224, 256, 0};
inline constexpr BitrateRow kMpeg2Layer2And3Bitrates = {0,  8,  16, 24,  32,  40,  48,  56,
                                                        64, 80, 96, 112, 128, 144, 160, 0};

// Sampling frequencies in Hz by the header's 2-bit index (3 is reserved).
using SampleRateRow = std::array<std::uint32_t, 3>;
// ISO/IEC 11172-3, 2.4.2.3.
inline constexpr SampleRateRow kMpeg1SampleRates = {44100, 48000, 32000};
// ISO/IEC 13818-3, 2.4.2.3.
inline constexpr SampleRateRow kMpeg2SampleRates = {22050, 24000, 16000};
// MPEG-2.5, the encoders' extension of ISO/IEC 13818-3 to half its frequencies.
inline constexpr SampleRateRow kMpeg25SampleRates = {11025, 12000, 8000};

// Samples per frame: ISO/IEC 11172-3, 2.4.3.1 (Layer I 384, II and III 1152) and
// ISO/IEC 13818-3, 2.4.3.1 (Layer III at the lower frequencies 576).
inline constexpr std::uint32_t kLayer1Samples = 384;
inline constexpr std::uint32_t kLayer2Samples = 1152;
inline constexpr std::uint32_t kMpeg1Layer3Samples = 1152;
inline constexpr std::uint32_t kMpeg2Layer3Samples = 576;

// Layer III side information in bytes, single channel / other modes: ISO/IEC 11172-3,
// 2.4.1.7 (17 / 32) and ISO/IEC 13818-3, 2.4.1.7 (9 / 17).
inline constexpr std::uint32_t kMpeg1MonoSideInfo = 17;
inline constexpr std::uint32_t kMpeg1StereoSideInfo = 32;
inline constexpr std::uint32_t kMpeg2MonoSideInfo = 9;
inline constexpr std::uint32_t kMpeg2StereoSideInfo = 17;

// A protected frame carries a 16-bit CRC right after the header: ISO/IEC 11172-3, 2.4.1.4.
inline constexpr std::uint32_t kCrcSize = 2;

}  // namespace velmora::mpeg
