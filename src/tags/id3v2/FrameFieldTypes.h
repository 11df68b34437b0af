#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/ChunkPoolAllocated.h"
#include "tags/id3v2/FrameField.h"

namespace velmora {

struct EncodingPolicy;

// 8-bit text without terminator (MIME type, URL, language). With a fixed width the field
// always serialises as exactly that many bytes (cut, or padded with zero bytes), so a
// language code keeps the frame's layout whatever it was set to.
class NarrowStringField : public FrameField, public ChunkPoolAllocated<NarrowStringField, 16384> {
  public:
    explicit NarrowStringField(std::string_view chars, std::uint8_t fixedWidth = 0);
    std::unique_ptr<FrameField> Clone() const override;

    void SetText(std::u16string_view text, const text::CodePage& codePage) override;
    void SetNarrowText(std::string_view text, const text::CodePage& codePage) override;
    void SerializeField(const FieldWriteContext& context,
                        std::vector<std::uint8_t>& out) const override;

  protected:
    bool SameOwnState(const FrameField& other) const override;

  private:
    std::uint8_t fixedWidth_;  // a byte, so it fits beside the field's own members
};

// The encoding byte of a frame. The stored byte is what the file receives; the source byte
// is the one found in the file (0 for a frame made in memory) and never changes.
// Pooled: a directory of files holds tens of thousands of them.
class EncodingField : public FrameField, public ChunkPoolAllocated<EncodingField, 16384> {
  public:
    EncodingField(std::uint8_t source, const EncodingPolicy& policy);
    EncodingField(std::uint8_t source, std::uint8_t stored);
    std::unique_ptr<FrameField> Clone() const override;

    std::uint8_t Source() const { return source_; }
    std::uint8_t Stored() const { return Bytes()[0]; }
    // Writes the frame's output encoding, which the serializer chose from the stored byte.
    void SerializeField(const FieldWriteContext& context,
                        std::vector<std::uint8_t>& out) const override;

  protected:
    bool SameOwnState(const FrameField& other) const override;

  private:
    std::uint8_t source_;
};

// Zero bytes ending a string: bound ones as long as the frame's encoding needs, unbound ones
// a single byte. Pooled, as every comment, TXXX and picture holds one.
class TerminatorField : public FrameField, public ChunkPoolAllocated<TerminatorField, 16384> {
  public:
    explicit TerminatorField(bool bound);
    std::unique_ptr<FrameField> Clone() const override;
    void SerializeField(const FieldWriteContext& context,
                        std::vector<std::uint8_t>& out) const override;
};

// A wide text, written in the frame's encoding without terminator.
class TextField : public FrameField, public ChunkPoolAllocated<TextField, 16384> {
  public:
    explicit TextField(std::u16string text);
    std::unique_ptr<FrameField> Clone() const override;

    void SetText(std::u16string_view text, const text::CodePage& codePage) override;
    void SetNarrowText(std::string_view text, const text::CodePage& codePage) override;
    std::u16string GetText(const text::CodePage& codePage) const override;
    std::string GetNarrowText(const text::CodePage& codePage) const override;
    void SerializeField(const FieldWriteContext& context,
                        std::vector<std::uint8_t>& out) const override;

    const std::u16string& Text() const { return text_; }

  protected:
    bool SameOwnState(const FrameField& other) const override;

  private:
    std::u16string text_;
};

// The strings after the first one of a text frame (ID3v2.4 multiple values, IPLS name
// pairs), kept so that a save writes them back, each after a terminator.
class LaterValuesField : public FrameField {
  public:
    explicit LaterValuesField(std::vector<std::u16string> values);
    std::unique_ptr<FrameField> Clone() const override;

    const std::vector<std::u16string>& Values() const { return values_; }
    void SerializeField(const FieldWriteContext& context,
                        std::vector<std::uint8_t>& out) const override;

  protected:
    bool SameOwnState(const FrameField& other) const override;

  private:
    std::vector<std::u16string> values_;
};

}  // namespace velmora
