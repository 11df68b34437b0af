#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/ChunkPoolAllocated.h"
#include "common/Messages.h"
#include "tags/file/FileIdentity.h"
#include "tags/id3v1/Id3v1Tag.h"
#include "tags/id3v2/Id3v2Tag.h"
#include "tags/id3v2/StoredBody.h"
#include "tags/mpeg/MpegInfo.h"
#include "tags/record/EngineContext.h"
#include "tags/record/TagFileWriter.h"

namespace velmora {

class FrameField;
class Id3v2Reader;
class MessageSink;

// How the load of a record went; a record exists in every case. Only a loaded MP3 is ever
// written: a tag written into another file would damage it, and a record whose load failed
// holds only part of what the file holds.
enum class LoadStatus : std::uint8_t {
    Loaded,    // an ID3v2 tag at the start, or confirmed MPEG audio in no other known format
    NotAnMp3,  // read, but neither: read-only
    Failed,    // the file could not be opened or read (LoadFailure says why): read-only
};

// One loaded MP3 file: its two tags, V2() and V1(), how its load went, where it lies, what the
// next save is to do, and the facts of its audio stream. Picture data and large binary bodies
// stay in the file (StoredBytesField): the record reads them from its file when asked, and a
// save copies them.
class Mp3File : public StoredBodySource, public ChunkPoolAllocated<Mp3File, 512> {
  public:
    // Loads directory + "/" + name at once. Never fails as a whole: a file that cannot be
    // opened or parsed still yields a record, after a message through the context.
    Mp3File(EngineContext& context, std::u16string directory, std::u16string name);
    // The same with a reader that a loader keeps for many files, so its scratch memory is
    // reused, and the folder's name shared by the records of that folder.
    Mp3File(EngineContext& context, Id3v2Reader& reader,
            std::shared_ptr<const std::u16string> directory, std::u16string name);
    ~Mp3File() override;

    // Writes the pending changes and carries out a pending rename. False when a step
    // failed (its message has been shown); what failed still needs saving. A record that
    // is not an MP3, or whose file changed on disk since the load, is refused before
    // anything is written or renamed, and keeps everything pending.
    bool Save(EngineContext& context);
    // Save in two halves, so that a group of files is recorded in the history in one commit
    // before any of them is written: BeginSave opens, checks and records (nothing written),
    // FinishSave writes and renames. `notRecorded`, when given, says why the group's record
    // was not kept: the tags are then not written.
    struct PendingSave {
        bool refused = false;  // nothing to write or rename: not an MP3
        bool failed = false;   // the tags could not even be laid out
        std::optional<TagSave> save;
        std::unique_ptr<PendingTags> tags;
    };
    std::unique_ptr<PendingSave> BeginSave(EngineContext& context);
    bool FinishSave(PendingSave& pending, EngineContext& context,
                    const std::u16string* notRecorded = nullptr);
    // The bytes a pending save holds until it is finished.
    static std::uint64_t HeldBytes(const PendingSave& pending);
    bool NeedsSave() const;

    // False, changing nothing, when the name equals the pending one; otherwise stores it
    // with the characters no file name may hold replaced by spaces. Setting the disk name
    // leaves no rename pending.
    bool SetFileName(std::u16string newName);
    // The name as SetFileName stores it: \ / : ? " < > | and line breaks replaced by spaces.
    static std::u16string StorableName(std::u16string name);
    void MarkRemoveV1() { removeV1Pending_ = true; }
    void MarkRemoveV2() { removeV2Pending_ = true; }
    bool RemoveV1Pending() const { return removeV1Pending_; }
    bool RemoveV2Pending() const { return removeV2Pending_; }
    // Puts back a pending name and the removal marks exactly as they were kept (an undo):
    // no character is replaced.
    void RestorePending(std::u16string name, bool removeV1, bool removeV2) {
        SetPendingName(std::move(name));
        removeV1Pending_ = removeV1;
        removeV2Pending_ = removeV2;
    }

    const std::u16string& Directory() const { return *directory_; }
    // The name after the next save (equal to DiskName unless a rename is pending).
    const std::u16string& Name() const { return pendingName_ ? *pendingName_ : diskName_; }
    const std::u16string& DiskName() const { return diskName_; }
    // Directory + "/" + DiskName.
    std::u16string DiskPath() const;

    Id3v2Tag& V2() { return v2_; }
    const Id3v2Tag& V2() const { return v2_; }
    Id3v1Tag& V1() { return v1_; }
    const Id3v1Tag& V1() const { return v1_; }
    // The file ended in an ID3v1 tag when it was loaded or last saved.
    bool HadId3v1() const { return hadId3v1_; }

    LoadStatus Status() const { return status_; }
    // Status() is Loaded: the record's tags may be saved.
    bool IsMp3() const { return status_ == LoadStatus::Loaded; }
    // The message a failed load showed; null unless Status() is Failed.
    const Message* LoadFailure() const { return loadFailure_.get(); }

    // Version of the ID3v2 tag found on disk at load (2, 3 or 4), 0 when there was none.
    std::uint8_t LoadedId3v2Version() const { return loadedVersion_; }

    std::uint16_t Bitrate() const { return bitrate_; }  // kbit/s, 0 when not measured
    bool Vbr() const { return vbr_; }
    std::uint32_t Duration() const { return duration_; }  // seconds, 0 when not measured
    // The facts of the first audio frame (found false when none was confirmed).
    const MpegInfo& Mpeg() const { return mpeg_; }

    // Reads a body the load left in the file, from the file under its present name, which
    // must still be as loaded (or as the last save left it). Throws CFileExceptionEx with
    // the file's path when it cannot: it is gone, unreadable or changed on disk (ESTALE).
    std::vector<std::uint8_t> ReadBody(const StoredBody& body) const override;
    // The bytes of a field of this record, wherever they lie. On failure shows why
    // (Couldn't open file, Error while reading file, or the file changed on disk) and
    // returns none: never empty data in their place.
    std::optional<std::vector<std::uint8_t>> FieldBytesOrReport(const FrameField& field,
                                                                MessageSink& messages) const;

  private:
    void Load(EngineContext& context, Id3v2Reader& reader);
    void FailLoad(EngineContext& context, MessageKind kind, int errorNumber);
    // Converts the frames for the version written, so the record shows what the disk holds.
    TagSave BuildSave(EngineContext& context);
    void AfterTagsSaved(const TagSave& save);
    // Carries out the pending rename, told to the history first; false when it failed.
    bool Rename(EngineContext& context);
    // Keeps `name` as the pending one, or none when it is the disk name.
    void SetPendingName(std::u16string name);

    Id3v2Tag v2_;
    Id3v1Tag v1_;
    std::u16string diskName_;
    // Only while a rename is pending: most records are never renamed.
    std::unique_ptr<std::u16string> pendingName_;
    // Shared by the records of one folder.
    std::shared_ptr<const std::u16string> directory_;
    bool removeV1Pending_ = false;
    bool removeV2Pending_ = false;
    bool hadId3v1_ = false;
    // The file as the load found it, and after each save.
    std::optional<FileIdentity> identity_;
    // The bodies the load left in the file, wherever their fields are now.
    StoredBodies storedBodies_;
    LoadStatus status_ = LoadStatus::NotAnMp3;
    std::unique_ptr<const Message> loadFailure_;
    std::uint8_t loadedVersion_ = 0;
    bool vbr_ = false;
    std::uint16_t bitrate_ = 0;
    std::uint32_t duration_ = 0;
    MpegInfo mpeg_;
};

}  // namespace velmora
