#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "tags/ops/TagOpsFwd.h"

namespace velmora {

struct Comment {
    std::optional<std::string> language;  // set when the frame's language is three bytes
    std::u16string text;
};

// Operations on COMM frames whose fields follow the comment layout (kFrameLayouts).

// The first COMM frame whose description is exactly the text.
Id3v2Frame* FindComment(const Id3v2Tag& tag, std::u16string_view description,
                        const text::CodePage& codePage);
// The language and text of that frame; empty text and no language without one.
Comment GetComment(const Id3v2Tag& tag, std::u16string_view description,
                   const text::CodePage& codePage);
// Appends a new COMM frame. The language is always written as three bytes.
void AddComment(Id3v2Tag& tag, std::string_view language, std::u16string_view description,
                std::u16string_view text, const EngineContext& context);
// Sets the text of a COMM frame, which then holds that one string.
void SetCommentFrameText(Id3v2Frame& frame, std::u16string_view text,
                         const text::CodePage& codePage);
// Sets the text of the comment with the description, or adds one with the language.
void SetCommentText(Id3v2Tag& tag, std::u16string_view description, std::u16string_view text,
                    std::string_view language, const EngineContext& context);

}  // namespace velmora
