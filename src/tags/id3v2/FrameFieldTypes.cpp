#include "tags/id3v2/FrameFieldTypes.h"

#include "tags/id3v2/EncodingPolicy.h"
#include "tags/id3v2/TextEncoding.h"
#include "text/CodePage.h"

namespace velmora {

namespace {
std::span<const std::uint8_t> AsBytes(std::string_view chars) {
    return {reinterpret_cast<const std::uint8_t*>(chars.data()), chars.size()};
}

// SameOwnState is only asked about a field of the same type.
template <typename Field>
const Field& Same(const FrameField& other) {
    return static_cast<const Field&>(other);
}
}  // namespace

NarrowStringField::NarrowStringField(std::string_view chars, std::uint8_t fixedWidth)
    : FrameField(FieldKind::NarrowString, AsBytes(chars)), fixedWidth_(fixedWidth) {}

void NarrowStringField::SetText(std::u16string_view text, const text::CodePage& codePage) {
    SetNarrowText(codePage.Encode(text), codePage);
}

std::unique_ptr<FrameField> NarrowStringField::Clone() const {
    return std::make_unique<NarrowStringField>(*this);
}

bool NarrowStringField::SameOwnState(const FrameField& other) const {
    return fixedWidth_ == Same<NarrowStringField>(other).fixedWidth_;
}

void NarrowStringField::SetNarrowText(std::string_view text, const text::CodePage&) {
    SetBytes(AsBytes(text));
}

void NarrowStringField::SerializeField(const FieldWriteContext& context,
                                       std::vector<std::uint8_t>& out) const {
    if (fixedWidth_ == 0) {
        FrameField::SerializeField(context, out);
        return;
    }
    const auto bytes = Bytes();
    for (std::size_t i = 0; i < fixedWidth_; ++i)
        out.push_back(i < bytes.size() ? bytes[i] : 0);
}

EncodingField::EncodingField(std::uint8_t source, const EncodingPolicy& policy)
    : EncodingField(source, policy.StoredFor(source)) {}

EncodingField::EncodingField(std::uint8_t source, std::uint8_t stored)
    : FrameField(FieldKind::Encoding, std::span<const std::uint8_t>(&stored, 1)), source_(source) {}

void EncodingField::SerializeField(const FieldWriteContext& context,
                                   std::vector<std::uint8_t>& out) const {
    out.push_back(context.encoding);
}

std::unique_ptr<FrameField> EncodingField::Clone() const {
    return std::make_unique<EncodingField>(*this);
}

bool EncodingField::SameOwnState(const FrameField& other) const {
    return source_ == Same<EncodingField>(other).source_;
}

TerminatorField::TerminatorField(bool bound)
    : FrameField(bound ? FieldKind::BoundTerminator : FieldKind::Terminator) {}

void TerminatorField::SerializeField(const FieldWriteContext& context,
                                     std::vector<std::uint8_t>& out) const {
    if (Kind() == FieldKind::BoundTerminator)
        AppendTerminator(context.encoding, out);
    else
        out.push_back(0);
}

std::unique_ptr<FrameField> TerminatorField::Clone() const {
    return std::make_unique<TerminatorField>(*this);
}

TextField::TextField(std::u16string text) : FrameField(FieldKind::Text), text_(std::move(text)) {}

void TextField::SetText(std::u16string_view text, const text::CodePage&) {
    if (text == text_)
        return;
    text_.assign(text);
    SetModified(true);
}

std::unique_ptr<FrameField> TextField::Clone() const {
    return std::make_unique<TextField>(*this);
}

bool TextField::SameOwnState(const FrameField& other) const {
    return text_ == Same<TextField>(other).text_;
}

void TextField::SetNarrowText(std::string_view text, const text::CodePage& codePage) {
    SetText(codePage.Decode(text), codePage);
}

std::u16string TextField::GetText(const text::CodePage&) const {
    return text_;
}

std::string TextField::GetNarrowText(const text::CodePage& codePage) const {
    return codePage.Encode(text_);
}

void TextField::SerializeField(const FieldWriteContext& context,
                               std::vector<std::uint8_t>& out) const {
    EncodeText(text_, context.encoding, context.codePage, out);
}

LaterValuesField::LaterValuesField(std::vector<std::u16string> values)
    : FrameField(FieldKind::LaterValues), values_(std::move(values)) {}

void LaterValuesField::SerializeField(const FieldWriteContext& context,
                                      std::vector<std::uint8_t>& out) const {
    for (const auto& value : values_) {
        AppendTerminator(context.encoding, out);
        EncodeText(value, context.encoding, context.codePage, out);
    }
}

std::unique_ptr<FrameField> LaterValuesField::Clone() const {
    return std::make_unique<LaterValuesField>(*this);
}

bool LaterValuesField::SameOwnState(const FrameField& other) const {
    return values_ == Same<LaterValuesField>(other).values_;
}

}  // namespace velmora
