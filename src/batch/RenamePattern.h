#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "batch/RenamePieces.h"
#include "tags/ops/ShownFields.h"

namespace velmora {

class MessageSink;

namespace batch {

// The new file name for one file.
struct RenameExpansion {
    std::u16string name;
    // The pattern has variables and every one of them was empty for the file: the name is
    // only the pattern's own text (" - .mp3"), which names no file.
    bool onlyPatternText = false;
};

// A compiled rename expression: literal text and the variables %artist, %album, %title,
// %track, %year and %genre, always ending in ".mp3".
class RenamePattern {
  public:
    explicit RenamePattern(std::vector<std::unique_ptr<RenamePiece>> pieces)
        : pieces_(std::move(pieces)) {}

    // The new file name for one file's tags (ShownTagsOf a record): a frame the ID3v2 tag
    // lacks gives the ID3v1 value, or nothing; values are used as stored, without trimming.
    RenameExpansion Expand(const ShownTags& tags, const text::CodePage& codePage) const;

  private:
    std::vector<std::unique_ptr<RenamePiece>> pieces_;
};

// A pattern, or the name after a "%" that is no variable (possibly empty).
struct RenameCompileResult {
    std::optional<RenamePattern> pattern;
    std::u16string unrecognizedField;
};

// Every "%" starts a variable: the longest run of letters (iswalpha) after it, compared
// case-sensitively. There is no escape for a literal "%".
RenameCompileResult CompileRenamePattern(std::u16string_view expression);

// Compiles, and on failure shows the unrecognized-field error.
std::optional<RenamePattern> CompileRenamePatternOrReport(std::u16string_view expression,
                                                          MessageSink& messages);

}  // namespace batch
}  // namespace velmora
