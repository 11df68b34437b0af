#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "common/ChunkPoolAllocated.h"
#include "tags/id3v2/FieldList.h"
#include "tags/id3v2/FrameField.h"
#include "tags/id3v2/FrameId.h"

namespace velmora {

// How a body that could not be opened is stored on disk (ID3v2.3 section 3.3.1, ID3v2.4
// section 4.1.2): such a frame keeps these facts so that a save writes its flags and extra
// header bytes again, in the layout of the version written.
struct StoredBodyForm {
    bool compressed = false;
    std::optional<std::uint8_t> encryptionMethod;
    // The size before compression (ID3v2.3) or the data length indicator (ID3v2.4).
    std::optional<std::uint32_t> dataLength;

    bool IsPlain() const { return !compressed && !encryptionMethod; }
    friend bool operator==(const StoredBodyForm&, const StoredBodyForm&) = default;
};

// A body as the file held it, kept beside the fields when writing them would give other bytes
// (text in a byte order found by looking, stray terminators, ...): while the fields still
// write `asWritten`, the frame is written back as it was read.
struct BodyAsRead {
    std::vector<std::uint8_t> asRead;
    std::vector<std::uint8_t> asWritten;
};

// One frame of an ID3v2 tag: its own ID and its fields, in order. Pooled, as directories
// of files hold many.
class Id3v2Frame : public ChunkPoolAllocated<Id3v2Frame, 8192> {
  public:
    static constexpr std::size_t kMaxFields = 16;

    explicit Id3v2Frame(FrameId id);
    virtual ~Id3v2Frame();
    Id3v2Frame(const Id3v2Frame&) = delete;
    Id3v2Frame& operator=(const Id3v2Frame&) = delete;

    const FrameId& Id() const { return id_; }
    std::size_t FieldCount() const { return fields_.Size(); }
    FrameField* FieldAt(std::size_t index) const { return fields_.At(index); }
    // Adds a field at the end without touching the other fields' flags (readers use it;
    // AppendField is the operation that marks the frame modified). Returns false when the
    // frame already has kMaxFields fields.
    bool PushField(std::unique_ptr<FrameField> field);
    // Makes room for this many fields in all (at most kMaxFields), so readers that know the
    // count allocate once.
    void ReserveFields(std::size_t count) { fields_.Reserve(std::min(count, kMaxFields)); }
    // Drops every field (the frame then reports itself modified through its new fields).
    void ClearFields() { fields_.RemoveFrom(0); }
    void RemoveFieldsFrom(std::size_t index) { fields_.RemoveFrom(index); }

    const StoredBodyForm& BodyForm() const;
    void SetBodyForm(const StoredBodyForm& form);
    const std::optional<std::uint8_t>& GroupId() const;
    void SetGroupId(std::optional<std::uint8_t> groupId);
    const BodyAsRead* KeptBody() const {
        return extras_ && extras_->keptBody ? &*extras_->keptBody : nullptr;
    }
    void KeepBody(BodyAsRead body) { Extras().keptBody = std::move(body); }

  private:
    // What few frames have: a stored form other than plain, a group, a body kept as read.
    struct FrameExtras {
        StoredBodyForm bodyForm;
        std::optional<std::uint8_t> groupId;
        std::optional<BodyAsRead> keptBody;
    };
    FrameExtras& Extras();

    FrameId id_;
    FieldList fields_;
    std::unique_ptr<FrameExtras> extras_;  // rare, so not inline
};

}  // namespace velmora
