#include "edit/PictureEdits.h"

#include <algorithm>
#include <map>

#include "common/Messages.h"
#include "tags/id3v2/FrameField.h"
#include "tags/id3v2/FrameIdTable.h"
#include "tags/id3v2/FrameParts.h"
#include "tags/id3v2/Id3v2Frame.h"
#include "tags/ops/PictureOps.h"
#include "tags/ops/PictureTypeNames.h"
#include "tags/record/EngineContext.h"
#include "tags/record/Mp3File.h"

namespace velmora::edit {
namespace {

// Answers without showing: the reads after the first failure of one listing.
class QuietSink : public MessageSink {
  public:
    MessageAnswer Show(const Message&) override { return MessageAnswer::Ok; }
};

bool IsPicture(const Id3v2Frame& frame) {
    return frame.Id() == frame_ids::kApic && PictureDataField(frame) != nullptr;
}

// Compares the pictures of the records, reading the data of each frame at most once.
class PictureMatcher {
  public:
    PictureMatcher(const text::CodePage& codePage, MessageSink& messages)
        : codePage_(codePage), messages_(messages) {}

    // Whether `record` holds a picture like `wanted` of `first`; none when a read failed.
    std::optional<bool> Holds(const Mp3File& first, const Id3v2Frame& wanted,
                              const Mp3File& record) {
        for (const auto& frame : record.V2().Frames()) {
            if (!IsPicture(*frame) || !SameButData(*frame, wanted))
                continue;
            const auto* theirs = Data(record, *frame);
            const auto* ours = theirs ? Data(first, wanted) : nullptr;
            if (!theirs || !ours)
                return std::nullopt;
            if (*theirs == *ours)
                return true;
        }
        return false;
    }

  private:
    bool SameButData(const Id3v2Frame& a, const Id3v2Frame& b) const {
        return PictureType(a) == PictureType(b) && PictureDataLength(a) == PictureDataLength(b) &&
               std::ranges::equal(FindPart(a, PartName::Mime)->Bytes(),
                                  FindPart(b, PartName::Mime)->Bytes()) &&
               PictureDescription(a, codePage_) == PictureDescription(b, codePage_);
    }

    const std::vector<std::uint8_t>* Data(const Mp3File& record, const Id3v2Frame& frame) {
        if (auto found = read_.find(&frame); found != read_.end())
            return &found->second;
        QuietSink quiet;
        auto data =
            record.FieldBytesOrReport(*PictureDataField(frame), reported_ ? quiet : messages_);
        if (!data) {
            reported_ = true;
            return nullptr;
        }
        return &read_.emplace(&frame, std::move(*data)).first->second;
    }

    const text::CodePage& codePage_;
    MessageSink& messages_;
    bool reported_ = false;
    // Node-based: the data handed out stay where they are while more are read.
    std::map<const Id3v2Frame*, std::vector<std::uint8_t>> read_;
};

}  // namespace

std::u16string_view PictureTypeLabel(std::uint8_t type) {
    return kPictureTypeNames[type < kPictureTypeNames.size() ? type : 0];
}

std::vector<SharedPicture> SharedPictures(std::span<Mp3File* const> records,
                                          const text::CodePage& codePage, MessageSink& messages) {
    std::vector<SharedPicture> shared;
    if (records.empty())
        return shared;
    PictureMatcher matcher(codePage, messages);
    const Mp3File& first = *records.front();
    for (const auto& frame : first.V2().Frames()) {
        if (!IsPicture(*frame))
            continue;
        const bool everywhere =
            std::all_of(records.begin() + 1, records.end(), [&](const Mp3File* record) {
                return matcher.Holds(first, *frame, *record).value_or(false);
            });
        if (everywhere)
            shared.push_back({frame.get(), PictureType(*frame)});
    }
    return shared;
}

void ApplyPicture(Mp3File& record, const PictureEdit& edit, const EngineContext& context) {
    Id3v2Tag& tag = record.V2();
    if (edit.picture) {
        SetPicture(tag, "image/" + edit.picture->subtype, edit.description, edit.type,
                   edit.picture->data, context);
        return;
    }
    Id3v2Frame* picture = FindPicture(tag, edit.openedType);
    if (!picture)
        return;
    if (edit.type != edit.openedType) {
        if (const Id3v2Frame* replaced = FindPicture(tag, edit.type))
            RemoveFrame(tag, replaced);
        FindPart(*picture, PartName::PictureType)
            ->SetBytes(std::span<const std::uint8_t>(&edit.type, 1));
    }
    FindPart(*picture, PartName::Description)->SetText(edit.description, context.codePage);
}

void AddCover(Mp3File& record, const HeldPicture& picture, const EngineContext& context) {
    SetPicture(record.V2(), "image/" + picture.subtype, u"", kCoverFrontType, picture.data,
               context);
}

void DeletePicture(Mp3File& record, std::uint8_t type) {
    if (const Id3v2Frame* frame = FindPicture(record.V2(), type))
        RemoveFrame(record.V2(), frame);
}

void DeleteAllPictures(Mp3File& record) {
    while (const Id3v2Frame* frame = FindFrame(record.V2(), frame_ids::kApic))
        RemoveFrame(record.V2(), frame);
}

}  // namespace velmora::edit
