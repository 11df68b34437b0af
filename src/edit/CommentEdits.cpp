#include "edit/CommentEdits.h"

#include <algorithm>
#include <optional>

#include "edit/LanguageTable.h"
#include "tags/id3v2/FrameField.h"
#include "tags/id3v2/FrameFieldTypes.h"
#include "tags/id3v2/FrameIdTable.h"
#include "tags/id3v2/FrameParts.h"
#include "tags/id3v2/Id3v2Frame.h"
#include "tags/ops/CommentOps.h"
#include "tags/record/EngineContext.h"
#include "tags/record/Mp3File.h"

namespace velmora::edit {
namespace {

struct CommentParts {
    const FrameField* description;
    const FrameField* language;
    const FrameField* text;
};

// The parts of a COMM frame that follows the comment layout; none for one kept as raw bytes.
std::optional<CommentParts> PartsOf(const Id3v2Frame& frame) {
    if (frame.Id() != frame_ids::kComm)
        return std::nullopt;
    CommentParts parts{FindPart(frame, PartName::Description), FindPart(frame, PartName::Language),
                       FindPart(frame, PartName::Text)};
    if (!parts.description || !parts.language || !parts.text)
        return std::nullopt;
    return parts;
}

bool Holds(const Mp3File& record, const CommentParts& wanted, const text::CodePage& codePage) {
    const auto description = wanted.description->GetText(codePage);
    const auto text = wanted.text->GetText(codePage);
    return std::any_of(
        record.V2().Frames().begin(), record.V2().Frames().end(), [&](const auto& frame) {
            const auto parts = PartsOf(*frame);
            return parts &&
                   std::ranges::equal(parts->language->Bytes(), wanted.language->Bytes()) &&
                   parts->description->GetText(codePage) == description &&
                   parts->text->GetText(codePage) == text;
        });
}

std::string LanguageOf(const CommentParts& parts) {
    const auto bytes = parts.language->Bytes();
    return {bytes.begin(), bytes.end()};
}

// The record's first comment with the key, and its parts.
Id3v2Frame* FindKeyed(const Mp3File& record, const CommentKey& key) {
    for (const auto& frame : record.V2().Frames()) {
        const auto parts = PartsOf(*frame);
        if (parts && LanguageOf(*parts) == key.language &&
            static_cast<const TextField*>(parts->description)->Text() == key.description)
            return frame.get();
    }
    return nullptr;
}

bool Takes(const Id3v2Frame& comment, const CommentFilter& filter, const text::CodePage& codePage) {
    const auto parts = PartsOf(comment);
    if (!parts)  // kept as bytes: neither its description nor its language is known
        return !filter.description && !filter.language;
    return (!filter.description || parts->description->GetText(codePage) == *filter.description) &&
           (!filter.language || LanguageOf(*parts) == *filter.language);
}

SharedComment Listed(const CommentParts& parts, const text::CodePage& codePage) {
    std::string language = LanguageOf(parts);
    const std::string code = language.size() == 3 ? language : std::string();
    return {{parts.description->GetText(codePage), std::move(language)},
            std::u16string(LanguageName(code)),
            parts.text->GetText(codePage)};
}

}  // namespace

std::vector<SharedComment> SharedComments(std::span<Mp3File* const> records,
                                          const text::CodePage& codePage) {
    std::vector<SharedComment> shared;
    if (records.empty())
        return shared;
    for (const auto& frame : records.front()->V2().Frames()) {
        const auto parts = PartsOf(*frame);
        if (!parts || !std::all_of(records.begin() + 1, records.end(), [&](const Mp3File* other) {
                return Holds(*other, *parts, codePage);
            }))
            continue;
        shared.push_back(Listed(*parts, codePage));
    }
    return shared;
}

std::optional<SharedComment> OpenedComment(const Mp3File& record,
                                           const std::optional<CommentKey>& key,
                                           const text::CodePage& codePage) {
    const Id3v2Frame* frame =
        key ? FindKeyed(record, *key) : FindComment(record.V2(), u"", codePage);
    const auto parts = frame ? PartsOf(*frame) : std::nullopt;
    if (!parts)
        return std::nullopt;
    return Listed(*parts, codePage);
}

void ApplyComment(Mp3File& record, const CommentEdit& edit, const EngineContext& context) {
    if (Id3v2Frame* frame = FindKeyed(record, edit.key))
        SetCommentFrameText(*frame, edit.text, context.codePage);
    else
        AddComment(record.V2(), edit.newLanguage, edit.key.description, edit.text, context);
}

void DeleteComment(Mp3File& record, const CommentKey& key) {
    if (const Id3v2Frame* frame = FindKeyed(record, key))
        RemoveFrame(record.V2(), frame);
}

void DeleteAllComments(Mp3File& record) {
    while (const Id3v2Frame* frame = FindFrame(record.V2(), frame_ids::kComm))
        RemoveFrame(record.V2(), frame);
}

void DeleteComments(Mp3File& record, const CommentFilter& filter, const text::CodePage& codePage) {
    std::vector<const Id3v2Frame*> taken;
    for (const auto& frame : record.V2().Frames()) {
        if (frame->Id() == frame_ids::kComm && Takes(*frame, filter, codePage))
            taken.push_back(frame.get());
    }
    for (const Id3v2Frame* frame : taken)
        RemoveFrame(record.V2(), frame);
}

}  // namespace velmora::edit
