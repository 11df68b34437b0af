#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tags/id3v2/InlineBytes.h"

namespace velmora {
namespace text {
class CodePage;
}

// The kind code every field carries; operations find fields by kind.
enum class FieldKind : std::uint8_t {
    NarrowString = 0,
    Text = 1,
    Encoding = 2,
    Binary = 3,
    BoundTerminator = 4,  // as long as a terminator of the frame's encoding
    Terminator = 5,       // one zero byte
    RawBody = 6,          // a frame body kept byte for byte
    LaterValues = 7,      // the strings after the first of a text frame
};

// What a field needs to put itself into a file: the frame's output encoding (which may
// differ from the stored byte, see SerializeFrame) and the active code page.
struct FieldWriteContext {
    std::uint8_t encoding;
    const text::CodePage& codePage;
};

// One part of a frame body: its bytes, its kind and whether it changed since the last
// MarkAll. The modified flag is set by construction and by every change of content.
class FrameField {
  public:
    explicit FrameField(FieldKind kind, std::span<const std::uint8_t> bytes = {});
    virtual ~FrameField();
    FrameField& operator=(const FrameField&) = delete;

    // An exact copy: type, bytes, modified flag and what the subclass keeps.
    virtual std::unique_ptr<FrameField> Clone() const;
    // Same type, kind, bytes, modified flag and subclass state.
    bool SameState(const FrameField& other) const;

    FieldKind Kind() const { return kind_; }
    bool IsModified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }
    std::span<const std::uint8_t> Bytes() const { return bytes_.Span(); }
    std::vector<std::uint8_t> CopyBytes() const { return {Bytes().begin(), Bytes().end()}; }

    // Nothing happens when the bytes are equal; otherwise they are copied in and the field
    // is marked modified.
    virtual void SetBytes(std::span<const std::uint8_t> bytes);
    // No effect in the base.
    virtual void SetText(std::u16string_view text, const text::CodePage& codePage);
    virtual void SetNarrowText(std::string_view text, const text::CodePage& codePage);
    // The bytes up to the first zero byte, converted from the code page.
    virtual std::u16string GetText(const text::CodePage& codePage) const;
    // The bytes up to the first zero byte.
    virtual std::string GetNarrowText(const text::CodePage& codePage) const;
    // Appends the field's bytes as the file receives them; the base writes its bytes.
    virtual void SerializeField(const FieldWriteContext& context,
                                std::vector<std::uint8_t>& out) const;

  protected:
    FrameField(const FrameField& other);
    // Whether the subclass's own state equals other's, which has the same type.
    virtual bool SameOwnState(const FrameField& other) const;

  private:
    InlineBytes bytes_;
    FieldKind kind_;
    bool modified_ = true;
};

}  // namespace velmora
