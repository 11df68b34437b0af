#pragma once

#include <cstdint>
#include <span>

#include "tags/id3v2/EncodingPolicy.h"
#include "tags/id3v2/FrameField.h"
#include "tags/id3v2/FrameLayouts.h"

namespace velmora {
namespace text {
class CodePage;
}
class Id3v2Frame;

// The last part of a body, left to the caller instead of copied into a field: a cover or a
// large binary body that stays in the file would otherwise be copied only to be dropped.
struct DeferredTail {
    std::span<const std::uint8_t> bytes;
    FieldKind kind = FieldKind::Binary;
};

struct BodyReadContext {
    const text::CodePage& codePage;
    EncodingPolicy policy;
    // When set, a trailing binary or raw part that LeavesFileAtSize is not made a field but
    // handed here (empty otherwise); the caller adds the frame's last field for it.
    DeferredTail* deferredTail = nullptr;
};

// Fills the frame's fields from a plain (not compressed, encrypted or unsynchronised) body
// by the layout of its ID. An empty body gives no fields. A body the layout does not fit
// (an encoding byte of 4 or more, text that would not come back unchanged, a string without
// its terminator, ...) is kept byte for byte as one raw field, so a save writes it unchanged.
void ReadFrameBody(Id3v2Frame& frame, std::span<const std::uint8_t> body,
                   const BodyReadContext& context);

// The walk of one layout; false (and the frame untouched) when the body does not fit it.
bool ReadBodyByLayout(Id3v2Frame& frame, std::span<const std::uint8_t> body,
                      const FrameLayout& layout, const BodyReadContext& context);

void ReadRawBody(Id3v2Frame& frame, std::span<const std::uint8_t> body);

}  // namespace velmora
