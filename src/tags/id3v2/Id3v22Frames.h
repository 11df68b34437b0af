#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "tags/id3v2/FrameId.h"

namespace velmora {

struct Id3v22Mapping {
    std::string_view v22;
    FrameId v23;
};

// ID3v2.2 frame IDs and their ID3v2.3 counterparts (ID3v2.2 document section 4, ID3v2.3
// document); the T.. sort and compilation frames follow the common practice of iTunes.
inline constexpr std::array<Id3v22Mapping, 69> kId3v22Frames = {{
    {"BUF", FrameId("RBUF")}, {"CNT", FrameId("PCNT")}, {"COM", FrameId("COMM")},
    {"CRA", FrameId("AENC")}, {"ETC", FrameId("ETCO")}, {"EQU", FrameId("EQUA")},
    {"GEO", FrameId("GEOB")}, {"IPL", FrameId("IPLS")}, {"LNK", FrameId("LINK")},
    {"MCI", FrameId("MCDI")}, {"MLL", FrameId("MLLT")}, {"PIC", FrameId("APIC")},
    {"POP", FrameId("POPM")}, {"REV", FrameId("RVRB")}, {"RVA", FrameId("RVAD")},
    {"SLT", FrameId("SYLT")}, {"STC", FrameId("SYTC")}, {"TAL", FrameId("TALB")},
    {"TBP", FrameId("TBPM")}, {"TCM", FrameId("TCOM")}, {"TCO", FrameId("TCON")},
    {"TCR", FrameId("TCOP")}, {"TDA", FrameId("TDAT")}, {"TDY", FrameId("TDLY")},
    {"TEN", FrameId("TENC")}, {"TFT", FrameId("TFLT")}, {"TIM", FrameId("TIME")},
    {"TKE", FrameId("TKEY")}, {"TLA", FrameId("TLAN")}, {"TLE", FrameId("TLEN")},
    {"TMT", FrameId("TMED")}, {"TOA", FrameId("TOPE")}, {"TOF", FrameId("TOFN")},
    {"TOL", FrameId("TOLY")}, {"TOR", FrameId("TORY")}, {"TOT", FrameId("TOAL")},
    {"TP1", FrameId("TPE1")}, {"TP2", FrameId("TPE2")}, {"TP3", FrameId("TPE3")},
    {"TP4", FrameId("TPE4")}, {"TPA", FrameId("TPOS")}, {"TPB", FrameId("TPUB")},
    {"TRC", FrameId("TSRC")}, {"TRD", FrameId("TRDA")}, {"TRK", FrameId("TRCK")},
    {"TSI", FrameId("TSIZ")}, {"TSS", FrameId("TSSE")}, {"TT1", FrameId("TIT1")},
    {"TT2", FrameId("TIT2")}, {"TT3", FrameId("TIT3")}, {"TXT", FrameId("TEXT")},
    {"TXX", FrameId("TXXX")}, {"TYE", FrameId("TYER")}, {"UFI", FrameId("UFID")},
    {"ULT", FrameId("USLT")}, {"WAF", FrameId("WOAF")}, {"WAR", FrameId("WOAR")},
    {"WAS", FrameId("WOAS")}, {"WCM", FrameId("WCOM")}, {"WCP", FrameId("WCOP")},
    {"WPB", FrameId("WPUB")}, {"WXX", FrameId("WXXX")}, {"TCP", FrameId("TCMP")},
    {"TST", FrameId("TSOT")}, {"TSA", FrameId("TSOA")}, {"TSP", FrameId("TSOP")},
    {"TS2", FrameId("TSO2")}, {"TSC", FrameId("TSOC")}, {"GP1", FrameId("GRP1")},
}};

// The ID3v2.3 ID of a three-character ID3v2.2 ID, or none when it has no counterpart.
std::optional<FrameId> ConvertId3v22FrameId(std::string_view v22);

// A PIC body (encoding, three-letter image format, type, description, data) as an APIC body:
// the format becomes a MIME type ("JPG" gives image/jpeg, "PNG" image/png, other formats
// image/ and the lower-case format). Nullopt when the body is too short.
std::optional<std::vector<std::uint8_t>> ConvertPicBody(std::span<const std::uint8_t> body);

}  // namespace velmora
