#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <string_view>
#include <variant>

#include "tags/id3v2/FrameId.h"
#include "tags/id3v2/FrameLayouts.h"

namespace velmora {

struct EncodingPolicy;
class FrameField;
class Id3v2Frame;

// The value of one named part, for building a frame: a byte (encoding, picture type), 8-bit
// text (language, MIME type, URL), text, or binary data.
struct PartValue {
    PartName name;
    std::variant<std::uint8_t, std::string_view, std::u16string_view, std::span<const std::uint8_t>>
        value;
};

// A frame of the ID with the fields of its layout, each part holding its value from `values`
// or, without one, an empty value (encoding 0 under the policy).
std::unique_ptr<Id3v2Frame> BuildFrame(const FrameId& id, const EncodingPolicy& policy,
                                       std::initializer_list<PartValue> values);

// The first field of the named part; none when the layout of the frame's ID has no such part or
// the fields do not follow it (a body kept byte for byte, an empty body).
FrameField* FindPart(const Id3v2Frame& frame, PartName name);

}  // namespace velmora
