#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "tags/FrameId.h"

namespace velmora {

// The frame IDs of the ID3v2.3.0 document, section 4, in the system's fixed order (the
// index of an ID is its position).
inline constexpr std::array<FrameId, 74> kFrameIdTable = {
    FrameId("AENC"), FrameId("APIC"), FrameId("COMM"), FrameId("COMR"), FrameId("ENCR"),
    FrameId("EQUA"), FrameId("ETCO"), FrameId("GEOB"), FrameId("GRID"), FrameId("IPLS"),
    FrameId("LINK"), FrameId("MCDI"), FrameId("MLLT"), FrameId("OWNE"), FrameId("PRIV"),
    FrameId("PCNT"), FrameId("POPM"), FrameId("POSS"), FrameId("RBUF"), FrameId("RVAD"),
    FrameId("RVRB"), FrameId("SYLT"), FrameId("SYTC"), FrameId("TALB"), FrameId("TBPM"),
    FrameId("TCOM"), FrameId("TCON"), FrameId("TCOP"), FrameId("TDAT"), FrameId("TDLY"),
    FrameId("TENC"), FrameId("TEXT"), FrameId("TFLT"), FrameId("TIME"), FrameId("TIT1"),
    FrameId("TIT2"), FrameId("TIT3"), FrameId("TKEY"), FrameId("TLAN"), FrameId("TLEN"),
    FrameId("TMED"), FrameId("TOAL"), FrameId("TOFN"), FrameId("TOLY"), FrameId("TOPE"),
    FrameId("TORY"), FrameId("TOWN"), FrameId("TPE1"), FrameId("TPE2"), FrameId("TPE3"),
    FrameId("TPE4"), FrameId("TPOS"), FrameId("TPUB"), FrameId("TRCK"), FrameId("TRDA"),
    FrameId("TRSN"), FrameId("TRSO"), FrameId("TSIZ"), FrameId("TSRC"), FrameId("TSSE"),
    FrameId("TYER"), FrameId("TXXX"), FrameId("UFID"), FrameId("USER"), FrameId("USLT"),
    FrameId("WCOM"), FrameId("WCOP"), FrameId("WOAF"), FrameId("WOAR"), FrameId("WOAS"),
    FrameId("WORS"), FrameId("WPAY"), FrameId("WPUB"), FrameId("WXXX"),
};

// Indices other code names.
namespace frame_index {
inline constexpr std::uint8_t kApic = 1;
inline constexpr std::uint8_t kComm = 2;
inline constexpr std::uint8_t kIpls = 9;
inline constexpr std::uint8_t kTalb = 23;
inline constexpr std::uint8_t kTcon = 26;
inline constexpr std::uint8_t kTit2 = 35;
inline constexpr std::uint8_t kTpe1 = 47;
inline constexpr std::uint8_t kTrck = 53;
inline constexpr std::uint8_t kTyer = 60;
inline constexpr std::uint8_t kTxxx = 61;
inline constexpr std::uint8_t kWcom = 65;
}  // namespace frame_index

// The IDs the operations use by name.
namespace frame_ids {
inline constexpr FrameId kApic("APIC");
inline constexpr FrameId kComm("COMM");
inline constexpr FrameId kIpls("IPLS");
inline constexpr FrameId kTalb("TALB");
inline constexpr FrameId kTcon("TCON");
inline constexpr FrameId kTit2("TIT2");
inline constexpr FrameId kTpe1("TPE1");
inline constexpr FrameId kTrck("TRCK");
inline constexpr FrameId kTyer("TYER");
inline constexpr FrameId kTdrc("TDRC");
inline constexpr FrameId kTxxx("TXXX");
inline constexpr FrameId kUslt("USLT");
inline constexpr FrameId kWcom("WCOM");
inline constexpr FrameId kWxxx("WXXX");
}  // namespace frame_ids

// The index of an ID in kFrameIdTable (exact comparison of all four bytes), or none.
std::optional<std::uint8_t> LookUpFrameId(std::string_view id);

}  // namespace velmora
