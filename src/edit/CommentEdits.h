#pragma once

#include <span>
#include <string>
#include <vector>

namespace velmora {
class Mp3File;
struct EngineContext;
namespace text {
class CodePage;
}
}  // namespace velmora

namespace velmora::edit {

class EditJournal;

// A comment that every selected file holds alike (description, text and language bytes).
struct SharedComment {
    std::u16string description;
    std::u16string languageName;  // empty when the language has no row
    std::u16string text;
};

// The comments of the first record, in frame order, that each of the others holds too.
std::vector<SharedComment> SharedComments(std::span<Mp3File* const> records,
                                          const text::CodePage& codePage);

// What the comment dialog applies: a comment is known by its description alone.
struct CommentEdit {
    std::u16string description;
    std::u16string text;
    std::string language;  // three bytes, for the files that get a new comment
};

// Each of these is one action of the journal; they return the records changed.

// Sets the text of each record's comment with the description (its language stays), or adds
// the comment where there is none.
std::vector<Mp3File*> ApplyComment(EditJournal& journal, std::span<Mp3File* const> records,
                                   const CommentEdit& edit, const EngineContext& context);
// Removes each record's first comment with the description, whatever its text and language.
std::vector<Mp3File*> DeleteComment(EditJournal& journal, std::span<Mp3File* const> records,
                                    std::u16string_view description,
                                    const text::CodePage& codePage);
std::vector<Mp3File*> DeleteAllComments(EditJournal& journal, std::span<Mp3File* const> records);

}  // namespace velmora::edit
