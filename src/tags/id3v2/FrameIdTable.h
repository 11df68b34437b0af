#pragma once

#include "tags/id3v2/FrameId.h"

namespace velmora {

// The IDs the operations use by name.
namespace frame_ids {
inline constexpr FrameId kApic("APIC");
inline constexpr FrameId kComm("COMM");
inline constexpr FrameId kIpls("IPLS");
inline constexpr FrameId kTalb("TALB");
inline constexpr FrameId kTcon("TCON");
inline constexpr FrameId kTit2("TIT2");
inline constexpr FrameId kTpe1("TPE1");
inline constexpr FrameId kTpe2("TPE2");
inline constexpr FrameId kTpos("TPOS");
inline constexpr FrameId kTcom("TCOM");
inline constexpr FrameId kTrck("TRCK");
inline constexpr FrameId kTyer("TYER");
inline constexpr FrameId kTdrc("TDRC");
inline constexpr FrameId kTxxx("TXXX");
inline constexpr FrameId kUslt("USLT");
inline constexpr FrameId kWcom("WCOM");
inline constexpr FrameId kWxxx("WXXX");
}  // namespace frame_ids

}  // namespace velmora
