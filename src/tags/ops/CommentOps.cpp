#include "tags/ops/CommentOps.h"

#include "tags/id3v2/EncodingPolicy.h"
#include "tags/id3v2/FrameFieldTypes.h"
#include "tags/id3v2/FrameIdTable.h"
#include "tags/id3v2/FrameParts.h"
#include "tags/id3v2/Id3v2Tag.h"
#include "tags/record/EngineContext.h"

namespace velmora {

Id3v2Frame* FindComment(const Id3v2Tag& tag, std::u16string_view description,
                        const text::CodePage& /*codePage*/) {
    // One pass over the list (FindFrame from a frame searches for that frame first), and
    // no text built for frames of other IDs.
    for (const auto& frame : tag.Frames()) {
        if (frame->Id() != frame_ids::kComm)
            continue;
        const FrameField* field = FindPart(*frame, PartName::Description);
        if (field && static_cast<const TextField*>(field)->Text() == description)
            return frame.get();
    }
    return nullptr;
}

Comment GetComment(const Id3v2Tag& tag, std::u16string_view description,
                   const text::CodePage& codePage) {
    Comment comment;
    const Id3v2Frame* frame = FindComment(tag, description, codePage);
    if (!frame)
        return comment;
    if (const FrameField* text = FindPart(*frame, PartName::Text))
        comment.text = text->GetText(codePage);
    const FrameField* language = FindPart(*frame, PartName::Language);
    if (language && language->Bytes().size() == 3)
        comment.language = std::string(language->Bytes().begin(), language->Bytes().end());
    return comment;
}

void AddComment(Id3v2Tag& tag, std::string_view language, std::u16string_view description,
                std::u16string_view text, const EngineContext& context) {
    AppendFrame(tag, BuildFrame(frame_ids::kComm, context.options.encoding,
                                {{PartName::Language, language},
                                 {PartName::Description, description},
                                 {PartName::Text, text}}));
}

void SetCommentFrameText(Id3v2Frame& frame, std::u16string_view text,
                         const text::CodePage& codePage) {
    FrameField* field = FindPart(frame, PartName::Text);
    if (!field)
        return;
    field->SetText(text, codePage);
    for (std::size_t i = 0; i < frame.FieldCount(); ++i) {
        if (frame.FieldAt(i)->Kind() == FieldKind::LaterValues) {
            frame.RemoveFieldsFrom(i);
            MarkFrame(frame, true);
        }
    }
}

void SetCommentText(Id3v2Tag& tag, std::u16string_view description, std::u16string_view text,
                    std::string_view language, const EngineContext& context) {
    Id3v2Frame* frame = FindComment(tag, description, context.codePage);
    if (frame && FindPart(*frame, PartName::Text)) {
        SetCommentFrameText(*frame, text, context.codePage);
        return;
    }
    AddComment(tag, language, description, text, context);
}

}  // namespace velmora
