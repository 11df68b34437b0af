#include "tags/id3v2/FrameParts.h"

#include <optional>
#include <string>

#include "tags/id3v2/FrameFieldTypes.h"
#include "tags/id3v2/Id3v2Frame.h"

namespace velmora {

namespace {

// The kinds of the fields a part makes, as the body reader makes them. The later values that
// may follow a TextValues part are not counted: it is always last.
struct PartFields {
    FieldKind first;
    std::optional<FieldKind> second;
};

constexpr PartFields FieldsOf(BodyPart shape) {
    switch (shape) {
        case BodyPart::Encoding:
            return {FieldKind::Encoding, {}};
        case BodyPart::Language:
        case BodyPart::NarrowRest:
            return {FieldKind::NarrowString, {}};
        case BodyPart::NarrowTerminated:
            return {FieldKind::NarrowString, FieldKind::Terminator};
        case BodyPart::Byte:
        case BodyPart::BinaryRest:
            return {FieldKind::Binary, {}};
        case BodyPart::TextTerminated:
            return {FieldKind::Text, FieldKind::BoundTerminator};
        case BodyPart::TextValues:
            return {FieldKind::Text, {}};
        case BodyPart::RawRest:
            break;
    }
    return {FieldKind::RawBody, {}};
}

template <typename T>
T ValueOf(std::initializer_list<PartValue> values, PartName name) {
    for (const PartValue& part : values) {
        if (part.name == name) {
            if (const T* value = std::get_if<T>(&part.value))
                return *value;
        }
    }
    return T{};
}

// The first field of a part, made from its value; the terminator that may follow is the
// same for every value.
std::unique_ptr<FrameField> FirstField(BodyPart shape, PartName name, const EncodingPolicy& policy,
                                       std::initializer_list<PartValue> values) {
    switch (FieldsOf(shape).first) {
        case FieldKind::Encoding:
            return std::make_unique<EncodingField>(ValueOf<std::uint8_t>(values, name), policy);
        case FieldKind::NarrowString:
            return std::make_unique<NarrowStringField>(ValueOf<std::string_view>(values, name),
                                                       shape == BodyPart::Language ? 3 : 0);
        case FieldKind::Text:
            return std::make_unique<TextField>(
                std::u16string(ValueOf<std::u16string_view>(values, name)));
        default:
            break;
    }
    const FieldKind kind = FieldsOf(shape).first;
    if (shape == BodyPart::Byte) {
        const std::uint8_t byte = ValueOf<std::uint8_t>(values, name);
        return std::make_unique<FrameField>(kind, std::span<const std::uint8_t>(&byte, 1));
    }
    return std::make_unique<FrameField>(kind, ValueOf<std::span<const std::uint8_t>>(values, name));
}

}  // namespace

std::unique_ptr<Id3v2Frame> BuildFrame(const FrameId& id, const EncodingPolicy& policy,
                                       std::initializer_list<PartValue> values) {
    auto frame = std::make_unique<Id3v2Frame>(id);
    const FrameLayout& layout = LayoutOf(FrameKindOf(id));
    for (std::size_t i = 0; i < layout.partCount; ++i) {
        const LayoutPart& part = layout.parts[i];
        frame->PushField(FirstField(part.shape, part.name, policy, values));
        if (const auto terminator = FieldsOf(part.shape).second)
            frame->PushField(
                std::make_unique<TerminatorField>(*terminator == FieldKind::BoundTerminator));
    }
    return frame;
}

FrameField* FindPart(const Id3v2Frame& frame, PartName name) {
    const FrameLayout& layout = LayoutOf(FrameKindOf(frame.Id()));
    std::size_t index = 0;
    for (std::size_t i = 0; i < layout.partCount; ++i) {
        const PartFields fields = FieldsOf(layout.parts[i].shape);
        FrameField* first = frame.FieldAt(index);
        if (!first || first->Kind() != fields.first)
            return nullptr;
        if (layout.parts[i].name == name)
            return first;
        if (fields.second) {
            const FrameField* second = frame.FieldAt(index + 1);
            if (!second || second->Kind() != *fields.second)
                return nullptr;
        }
        index += fields.second ? 2 : 1;
    }
    return nullptr;
}

}  // namespace velmora
