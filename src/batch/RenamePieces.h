#pragma once

#include <string>
#include <string_view>

#include "tags/id3v2/FrameId.h"

namespace velmora {

struct ShownTags;
namespace text {
class CodePage;
}

namespace batch {

// One piece of a compiled rename expression: appends its text for one file's tags (ID3v2, or
// ID3v1 where the ID3v2 tag lacks the frame).
class RenamePiece {
  public:
    virtual ~RenamePiece() = default;
    virtual void AppendTo(const ShownTags& tags, const text::CodePage& codePage,
                          std::u16string& out) const = 0;
    // A variable, whose text comes from the file (not the pattern's own text).
    virtual bool IsField() const { return true; }
};

// Text written between the variables, and the closing ".mp3".
class LiteralPiece final : public RenamePiece {
  public:
    explicit LiteralPiece(std::u16string_view text) : text_(text) {}
    void Extend(std::u16string_view text) { text_ += text; }
    void AppendTo(const ShownTags& tags, const text::CodePage& codePage,
                  std::u16string& out) const override;
    bool IsField() const override { return false; }

  private:
    std::u16string text_;
};

// The text of one frame as stored (%title, %album, %artist, %year).
class FrameTextPiece final : public RenamePiece {
  public:
    explicit FrameTextPiece(FrameId id) : id_(id) {}
    void AppendTo(const ShownTags& tags, const text::CodePage& codePage,
                  std::u16string& out) const override;

  private:
    FrameId id_;
};

// The TRCK text, with a "0" before a single character so that names sort by track.
class TrackPiece final : public RenamePiece {
  public:
    void AppendTo(const ShownTags& tags, const text::CodePage& codePage,
                  std::u16string& out) const override;
};

// The genre as shown to the user: a "(n)" reference resolved to its name.
class GenrePiece final : public RenamePiece {
  public:
    void AppendTo(const ShownTags& tags, const text::CodePage& codePage,
                  std::u16string& out) const override;
};

}  // namespace batch
}  // namespace velmora
