#pragma once

#include <span>
#include <string>
#include <vector>

#include "tags/TagOpsFwd.h"

namespace velmora::edit {

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

// Changes of one record; the window makes each a journal action over the selection
// (kCommentsAction, kDeleteCommentAction, kDeleteAllCommentsAction).

// Sets the text of the record's comment with the description (its language stays), or adds
// the comment when there is none.
void ApplyComment(Mp3File& record, const CommentEdit& edit, const EngineContext& context);
// Removes the record's first comment with the description, whatever its text and language.
void DeleteComment(Mp3File& record, std::u16string_view description,
                   const text::CodePage& codePage);
void DeleteAllComments(Mp3File& record);

}  // namespace velmora::edit
