#include "tags/FrameField.h"

#include <algorithm>

#include "text/CodePage.h"

namespace velmora {

FrameField::FrameField(FieldKind kind, std::span<const std::uint8_t> bytes)
    : bytes_(bytes.begin(), bytes.end()), kind_(kind) {}

FrameField::~FrameField() = default;

void FrameField::SetBytes(std::span<const std::uint8_t> bytes) {
    if (std::ranges::equal(bytes, bytes_))
        return;
    bytes_.assign(bytes.begin(), bytes.end());
    modified_ = true;
}

void FrameField::SetText(std::u16string_view, const text::CodePage&) {}

void FrameField::SetNarrowText(std::string_view, const text::CodePage&) {}

std::u16string FrameField::GetText(const text::CodePage& codePage) const {
    return codePage.Decode(GetNarrowText(codePage));
}

std::string FrameField::GetNarrowText(const text::CodePage&) const {
    auto end = std::find(bytes_.begin(), bytes_.end(), std::uint8_t{0});
    return std::string(bytes_.begin(), end);
}

void FrameField::SerializeField(const FieldWriteContext&, std::vector<std::uint8_t>& out) const {
    out.insert(out.end(), bytes_.begin(), bytes_.end());
}

}  // namespace velmora
