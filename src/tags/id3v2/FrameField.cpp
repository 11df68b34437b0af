#include "tags/id3v2/FrameField.h"

#include <algorithm>
#include <typeinfo>

#include "text/CodePage.h"

namespace velmora {

FrameField::FrameField(FieldKind kind, std::span<const std::uint8_t> bytes)
    : bytes_(bytes), kind_(kind) {}

FrameField::FrameField(const FrameField& other)
    : bytes_(other.Bytes()), kind_(other.kind_), modified_(other.modified_) {}

FrameField::~FrameField() = default;

std::unique_ptr<FrameField> FrameField::Clone() const {
    return std::unique_ptr<FrameField>(new FrameField(*this));
}

bool FrameField::SameState(const FrameField& other) const {
    return typeid(*this) == typeid(other) && kind_ == other.kind_ && modified_ == other.modified_ &&
           std::ranges::equal(Bytes(), other.Bytes()) && SameOwnState(other);
}

bool FrameField::SameOwnState(const FrameField&) const {
    return true;
}

void FrameField::SetBytes(std::span<const std::uint8_t> bytes) {
    if (std::ranges::equal(bytes, Bytes()))
        return;
    bytes_.Assign(bytes);
    modified_ = true;
}

void FrameField::SetText(std::u16string_view, const text::CodePage&) {}

void FrameField::SetNarrowText(std::string_view, const text::CodePage&) {}

std::u16string FrameField::GetText(const text::CodePage& codePage) const {
    return codePage.Decode(GetNarrowText(codePage));
}

std::string FrameField::GetNarrowText(const text::CodePage&) const {
    const auto bytes = Bytes();
    return std::string(bytes.begin(), std::find(bytes.begin(), bytes.end(), std::uint8_t{0}));
}

void FrameField::SerializeField(const FieldWriteContext&, std::vector<std::uint8_t>& out) const {
    out.insert(out.end(), Bytes().begin(), Bytes().end());
}

}  // namespace velmora
