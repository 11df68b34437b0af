#include "tags/CommentOps.h"

#include <memory>

#include "tags/EncodingPolicy.h"
#include "tags/EngineContext.h"
#include "tags/FrameFieldTypes.h"
#include "tags/FrameIdTable.h"
#include "tags/Id3v2Tag.h"

namespace velmora {

namespace {

FrameField* CommentTextField(const Id3v2Frame& frame) {
    FrameField* description = FindField(frame, FieldKind::Text);
    return description ? FindField(frame, FieldKind::Text, description) : nullptr;
}

}  // namespace

Id3v2Frame* FindComment(const Id3v2Tag& tag, std::u16string_view description,
                        const text::CodePage& /*codePage*/) {
    // One pass over the list (FindFrame from a frame searches for that frame first), and
    // no text built for frames of other IDs.
    for (const auto& frame : tag.Frames()) {
        if (frame->Id() != frame_ids::kComm)
            continue;
        const FrameField* field = FindField(*frame, FieldKind::Text);
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
    if (const FrameField* text = CommentTextField(*frame))
        comment.text = text->GetText(codePage);
    const FrameField* language = FindField(*frame, FieldKind::NarrowString);
    if (language && language->Bytes().size() == 3)
        comment.language = std::string(language->Bytes().begin(), language->Bytes().end());
    return comment;
}

void AddComment(Id3v2Tag& tag, std::string_view language, std::u16string_view description,
                std::u16string_view text, const EngineContext& context) {
    auto frame = std::make_unique<Id3v2Frame>(frame_ids::kComm);
    frame->PushField(std::make_unique<EncodingField>(0, context.options.encoding));
    frame->PushField(std::make_unique<NarrowStringField>(language, 3));
    frame->PushField(std::make_unique<TextField>(std::u16string(description)));
    frame->PushField(std::make_unique<TerminatorField>(true));
    frame->PushField(std::make_unique<TextField>(std::u16string(text)));
    AppendFrame(tag, std::move(frame));
}

void SetCommentText(Id3v2Tag& tag, std::u16string_view description, std::u16string_view text,
                    std::string_view language, const EngineContext& context) {
    if (Id3v2Frame* frame = FindComment(tag, description, context.codePage)) {
        if (FrameField* field = CommentTextField(*frame)) {
            field->SetText(text, context.codePage);
            for (std::size_t i = 0; i < frame->FieldCount(); ++i) {
                if (frame->FieldAt(i)->Kind() == FieldKind::LaterValues) {
                    frame->RemoveFieldsFrom(i);
                    MarkFrame(*frame, true);
                }
            }
            return;
        }
    }
    AddComment(tag, language, description, text, context);
}

}  // namespace velmora
