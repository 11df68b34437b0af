#include "tags/record/Mp3File.h"

#include <array>
#include <cerrno>
#include <span>

#include "common/Messages.h"
#include "tags/file/BufferedFile.h"
#include "tags/file/FileException.h"
#include "tags/file/SafeRename.h"
#include "tags/id3v1/Id3v1File.h"
#include "tags/id3v1/Id3v1Record.h"
#include "tags/id3v2/Id3v2Reader.h"
#include "tags/id3v2/Id3v2Serializer.h"
#include "tags/id3v2/StoredBytesField.h"
#include "tags/id3v2/VersionConversion.h"
#include "tags/mpeg/MpegInfo.h"
#include "tags/mpeg/OtherFormats.h"
#include "tags/record/SaveRecorder.h"
#include "tags/record/TagFileWriter.h"
#include "tags/record/TagRegion.h"
#include "tags/record/TrailingTags.h"
#include "text/Utf8.h"

namespace velmora {
namespace {

// Characters no file name may hold on the systems users copy their music to, and line breaks,
// which would split the name in every listing and playlist.
bool IsForbiddenInName(char16_t c) {
    static constexpr std::u16string_view kForbidden = u"\\/:?\"<>|\r\n";
    return kForbidden.find(c) != std::u16string_view::npos;
}

bool BeginsAsOtherFormat(BufferedFile& file) {
    std::array<std::uint8_t, kFormatSignatureBytes> start{};
    file.Seek(0);
    const std::size_t got = file.Read(start.data(), start.size());
    return StartsAsOtherFormat(std::span<const std::uint8_t>(start.data(), got));
}

}  // namespace

Mp3File::Mp3File(EngineContext& context, std::u16string directory, std::u16string name)
    : diskName_(std::move(name)),
      directory_(std::make_shared<const std::u16string>(std::move(directory))) {
    Id3v2Reader reader(context.codePage, context.options.encoding);
    Load(context, reader);
}

Mp3File::Mp3File(EngineContext& context, Id3v2Reader& reader,
                 std::shared_ptr<const std::u16string> directory, std::u16string name)
    : diskName_(std::move(name)), directory_(std::move(directory)) {
    Load(context, reader);
}

Mp3File::~Mp3File() = default;

std::u16string Mp3File::DiskPath() const {
    std::u16string path;
    path.reserve(directory_->size() + 1 + diskName_.size());
    return path.append(*directory_).append(u"/").append(diskName_);
}

void Mp3File::FailLoad(EngineContext& context, MessageKind kind, int errorNumber) {
    status_ = LoadStatus::Failed;
    auto message =
        std::make_unique<Message>(ErrorMessage(kind, {DiskPath()}, SystemError(errorNumber)));
    message->caption = kAppCaption;
    context.messages.Show(*message);
    loadFailure_ = std::move(message);
}

void Mp3File::Load(EngineContext& context, Id3v2Reader& reader) {
    const std::u16string path = DiskPath();
    BufferedFile file;
    CFileExceptionEx error;
    if (!file.Open(path, BufferedFile::kRead | BufferedFile::kOpenExisting, error)) {
        FailLoad(context, MessageKind::LoadOpenFailed, error.ErrorNumber());
        return;
    }
    try {
        identity_ = file.OpenedAs();
        const Id3v2TagOnDisk onDisk = reader.Read(file, v2_, &storedBodies_);
        bool mp3 = onDisk.present;
        if (onDisk.present)
            loadedVersion_ = onDisk.majorVersion;
        const bool hasV1 = ReadId3v1(file, v1_, context.codePage);
        hadId3v1_ = hasV1;
        const std::uint64_t size = file.Size();
        const std::uint64_t audioStart = onDisk.present ? onDisk.audioOffset : 0;
        const std::uint64_t audioEnd =
            AudioEndBeforeTrailingTags(file, audioStart, hasV1 ? size - kId3v1Size : size);
        const MpegInfo info = Measure(file, audioStart, audioEnd, reader.Scratch());
        mpeg_ = info;
        bitrate_ = info.bitrate;
        vbr_ = info.vbr;
        duration_ = info.duration;
        // Only files without a tag are examined further: the search may confirm two frame
        // headers that random bytes of an image or a FLAC stream formed by chance.
        if (!mp3 && info.found)
            mp3 = !BeginsAsOtherFormat(file);
        MarkAll(v2_, false);
        v1_.SetModified(false);
        status_ = mp3 ? LoadStatus::Loaded : LoadStatus::NotAnMp3;
    } catch (const CFileExceptionEx& failure) {
        FailLoad(context, MessageKind::LoadParseFailed, failure.ErrorNumber());
    }
}

bool Mp3File::NeedsSave() const {
    return IsTagModified(v2_) || v1_.IsModified() || pendingName_ || removeV1Pending_ ||
           removeV2Pending_;
}

std::u16string Mp3File::StorableName(std::u16string name) {
    for (char16_t& c : name) {
        if (IsForbiddenInName(c))
            c = u' ';
    }
    return name;
}

bool Mp3File::SetFileName(std::u16string newName) {
    if (newName == Name())
        return false;
    SetPendingName(StorableName(std::move(newName)));
    return true;
}

void Mp3File::SetPendingName(std::u16string name) {
    if (name == diskName_)
        pendingName_.reset();
    else if (pendingName_)
        *pendingName_ = std::move(name);
    else
        pendingName_ = std::make_unique<std::u16string>(std::move(name));
}

TagSave Mp3File::BuildSave(EngineContext& context) {
    TagSave save;
    save.path = DiskPath();
    save.loadedAs = identity_;
    // A tag marked for removal and filled in again afterwards (the window empties it when it
    // marks it) is written anew in its place.
    if (removeV1Pending_ && (v1_.IsEmpty() || !v1_.IsModified())) {
        save.id3v1 = Id3v1Action::Remove;
    } else if (v1_.IsModified()) {
        save.WriteId3v1(v1_, context.codePage, context.options.autoDeleteV1);
    }
    save.stripId3v2 = removeV2Pending_ && (v2_.Frames().empty() || !IsTagModified(v2_));
    if (!save.stripId3v2 && (removeV2Pending_ || IsTagModified(v2_))) {
        save.id3v2Version = context.options.Id3v2Version();
        ApplyEncodingChoice(v2_, context.options.encoding);
        ConvertFramesForVersion(v2_, save.id3v2Version, context.codePage);
        SerializedFrames frames =
            SerializeTagLeavingStored(v2_, save.id3v2Version, context.codePage);
        save.id3v2Frames = std::move(frames.bytes);
        save.storedSplices = std::move(frames.splices);
    }
    save.storedBodies = &storedBodies_;
    return save;
}

std::vector<std::uint8_t> Mp3File::ReadBody(const StoredBody& body) const {
    if (body.held)
        return *body.held;
    const std::u16string path = DiskPath();
    BufferedFile file;
    CFileExceptionEx error;
    if (!file.Open(path, BufferedFile::kRead | BufferedFile::kOpenExisting, error))
        throw error;
    if (!identity_ || file.OpenedAs() != *identity_)
        throw CFileExceptionEx(CFileExceptionEx::Cause::InvalidFile, ESTALE, path);
    try {
        return ReadStoredBody(file, body);
    } catch (const CFileExceptionEx& failure) {
        throw CFileExceptionEx(failure.GetCause(), failure.ErrorNumber(), path);
    }
}

std::optional<std::vector<std::uint8_t>> Mp3File::FieldBytesOrReport(const FrameField& field,
                                                                     MessageSink& messages) const {
    try {
        return ReadFieldBytes(field, *this);
    } catch (const CFileExceptionEx& failure) {
        const int error = failure.ErrorNumber();
        // The file changed since the load (or the last save), or its bytes are not as the
        // load found them, or it cannot be opened any more.
        if (error == ESTALE)
            ShowError(messages, MessageKind::ChangedOnDisk, {DiskPath()});
        else if (error == EIO)
            ShowError(messages, MessageKind::LoadParseFailed, {DiskPath()}, SystemError(error));
        else
            ShowError(messages, MessageKind::LoadOpenFailed, {DiskPath()}, SystemError(error));
        return std::nullopt;
    }
}

}  // namespace velmora
