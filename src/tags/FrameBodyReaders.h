#pragma once

#include <cstdint>
#include <span>

#include "tags/EncodingPolicy.h"
#include "tags/FrameLayouts.h"

namespace velmora {
namespace text {
class CodePage;
}
class Id3v2Frame;

struct BodyReadContext {
    const text::CodePage& codePage;
    EncodingPolicy policy;
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
