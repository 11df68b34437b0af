#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tags/id3v2/FrameId.h"

namespace velmora {

// The pieces a frame body is made of, as the one body reader and the serializer walk them.
enum class BodyPart : std::uint8_t {
    Encoding,          // one byte: EncodingField
    Language,          // three bytes: NarrowStringField of fixed width 3
    NarrowTerminated,  // 8-bit string and a zero byte: NarrowStringField, unbound TerminatorField
    NarrowRest,        // 8-bit string to the end: NarrowStringField
    Byte,              // one byte: binary field
    TextTerminated,    // string and terminator in the frame's encoding: TextField, bound terminator
    TextValues,        // strings to the end: TextField, then LaterValuesField when more follow
    BinaryRest,        // the rest as a binary field
    RawRest,           // the whole body as a raw field
};

enum class FrameKind : std::uint8_t { Text, UserText, Url, UserUrl, Comment, Picture, Raw };

// What a part of a frame holds, by which operations find and fill it (the names mutagen gives
// the parts of its frames: encoding, lang, mime, type, desc, text, url, data).
enum class PartName : std::uint8_t {
    Encoding,
    Language,
    Mime,
    PictureType,
    Description,
    Text,
    Url,
    Data,
};

struct LayoutPart {
    BodyPart shape;
    PartName name;
};

struct FrameLayout {
    FrameKind kind;
    std::string_view name;
    std::array<LayoutPart, 6> parts;
    std::size_t partCount;
};

// The parts several layouts share.
inline constexpr LayoutPart kEncodingPart{BodyPart::Encoding, PartName::Encoding};
inline constexpr LayoutPart kDescriptionPart{BodyPart::TextTerminated, PartName::Description};
inline constexpr LayoutPart kTextPart{BodyPart::TextValues, PartName::Text};
inline constexpr LayoutPart kUrlPart{BodyPart::NarrowRest, PartName::Url};

// One row per frame kind (ID3v2.3 sections 4.2-4.15).
inline constexpr std::array<FrameLayout, 7> kFrameLayouts = {{
    {FrameKind::Text, "text", {kEncodingPart, kTextPart}, 2},
    {FrameKind::UserText, "user text (TXXX)", {kEncodingPart, kDescriptionPart, kTextPart}, 3},
    {FrameKind::Url, "URL", {kUrlPart}, 1},
    {FrameKind::UserUrl, "user URL (WXXX)", {kEncodingPart, kDescriptionPart, kUrlPart}, 3},
    {FrameKind::Comment,
     "comment (COMM, USLT)",
     {kEncodingPart, {BodyPart::Language, PartName::Language}, kDescriptionPart, kTextPart},
     4},
    {FrameKind::Picture,
     "picture (APIC)",
     {kEncodingPart,
      {BodyPart::NarrowTerminated, PartName::Mime},
      {BodyPart::Byte, PartName::PictureType},
      kDescriptionPart,
      {BodyPart::BinaryRest, PartName::Data}},
     5},
    {FrameKind::Raw, "raw", {{{BodyPart::RawRest, PartName::Data}}}, 1},
}};

// The kind of a frame by its ID: IPLS and every T frame but TXXX are text frames (so an ID3v2.4
// frame such as TDRC reads as text too), every W frame but WXXX a URL frame.
FrameKind FrameKindOf(const FrameId& id);
const FrameLayout& LayoutOf(FrameKind kind);

}  // namespace velmora
