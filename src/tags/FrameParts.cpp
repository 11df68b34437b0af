#include "tags/FrameParts.h"

#include <optional>
#include <string>

#include "tags/FrameFieldTypes.h"
#include "tags/Id3v2Frame.h"

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

void AddPart(Id3v2Frame& frame, BodyPart shape, PartName name, const EncodingPolicy& policy,
             std::initializer_list<PartValue> values) {
    auto narrow = [&] { return ValueOf<std::string_view>(values, name); };
    auto wide = [&] { return std::u16string(ValueOf<std::u16string_view>(values, name)); };
    auto binary = [&] { return ValueOf<std::span<const std::uint8_t>>(values, name); };
    switch (shape) {
        case BodyPart::Encoding:
            frame.PushField(
                std::make_unique<EncodingField>(ValueOf<std::uint8_t>(values, name), policy));
            return;
        case BodyPart::Language:
            frame.PushField(std::make_unique<NarrowStringField>(narrow(), 3));
            return;
        case BodyPart::NarrowTerminated:
            frame.PushField(std::make_unique<NarrowStringField>(narrow()));
            frame.PushField(std::make_unique<TerminatorField>(false));
            return;
        case BodyPart::NarrowRest:
            frame.PushField(std::make_unique<NarrowStringField>(narrow()));
            return;
        case BodyPart::Byte: {
            const std::uint8_t byte = ValueOf<std::uint8_t>(values, name);
            frame.PushField(std::make_unique<FrameField>(FieldKind::Binary,
                                                         std::span<const std::uint8_t>(&byte, 1)));
            return;
        }
        case BodyPart::TextTerminated:
            frame.PushField(std::make_unique<TextField>(wide()));
            frame.PushField(std::make_unique<TerminatorField>(true));
            return;
        case BodyPart::TextValues:
            frame.PushField(std::make_unique<TextField>(wide()));
            return;
        case BodyPart::BinaryRest:
            frame.PushField(std::make_unique<FrameField>(FieldKind::Binary, binary()));
            return;
        case BodyPart::RawRest:
            frame.PushField(std::make_unique<FrameField>(FieldKind::RawBody, binary()));
            return;
    }
}

}  // namespace

std::unique_ptr<Id3v2Frame> BuildFrame(const FrameId& id, const EncodingPolicy& policy,
                                       std::initializer_list<PartValue> values) {
    auto frame = std::make_unique<Id3v2Frame>(id);
    const FrameLayout& layout = LayoutOf(FrameKindOf(id));
    for (std::size_t i = 0; i < layout.partCount; ++i)
        AddPart(*frame, layout.parts[i].shape, layout.parts[i].name, policy, values);
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
