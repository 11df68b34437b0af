#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "tags/ops/TagOpsFwd.h"

namespace velmora::edit {

// What tells one comment from another: its short description and its language, as the
// bytes the file holds (two comments may share a description in two languages).
struct CommentKey {
    std::u16string description;
    std::string language;
};

// A comment that every selected file holds alike (description, text and language bytes).
struct SharedComment {
    CommentKey key;
    std::u16string languageName;  // empty when the language has no row
    std::u16string text;
};

// The comments of the first record, in frame order, that each of the others holds too.
std::vector<SharedComment> SharedComments(std::span<Mp3File* const> records,
                                          const text::CodePage& codePage);

// The comment the dialog opens on in the record: the one with the key, or without a key (a
// new comment) the first with the empty description; none when there is no such comment.
std::optional<SharedComment> OpenedComment(const Mp3File& record,
                                           const std::optional<CommentKey>& key,
                                           const text::CodePage& codePage);

// What the comment dialog applies.
struct CommentEdit {
    CommentKey key;  // the comment whose text is set where a file has it
    std::u16string text;
    std::string newLanguage;  // three bytes, for the files that get a new comment
};

// Changes of one record; the window makes each a journal action over the selection
// (kCommentsAction, kDeleteCommentAction, kDeleteAllCommentsAction).

// Sets the text of the record's comment with the key (its language bytes stay), or adds a
// comment with the description and the new language when there is none.
void ApplyComment(Mp3File& record, const CommentEdit& edit, const EngineContext& context);
// Removes the record's first comment with the key, whatever its text.
void DeleteComment(Mp3File& record, const CommentKey& key);
void DeleteAllComments(Mp3File& record);

// Which comments a removal takes: those with the description and in the language (three bytes,
// as the file holds them), each only when given; every comment when neither is.
struct CommentFilter {
    std::optional<std::u16string> description;
    std::optional<std::string> language;
};
// Removes every comment of the record the filter takes; a comment kept as bytes only goes with
// every comment.
void DeleteComments(Mp3File& record, const CommentFilter& filter, const text::CodePage& codePage);

}  // namespace velmora::edit
