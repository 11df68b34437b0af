#include "history/RegionRestore.h"

#include <algorithm>
#include <array>
#include <cerrno>

#include "common/SystemReason.h"
#include "tags/file/AtomicReplace.h"
#include "tags/file/BufferedFile.h"
#include "tags/file/ByteMoves.h"
#include "tags/file/SaveGuard.h"
#include "tags/id3v1/Id3v1Record.h"
#include "tags/record/TagRegion.h"

namespace velmora::history {
namespace {

std::vector<std::uint8_t> ReadRange(BufferedFile& file, std::uint64_t from, std::uint64_t count) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count));
    file.Seek(from);
    if (file.Read(bytes.data(), bytes.size()) != bytes.size())
        throw CFileExceptionEx(EIO, u"");
    return bytes;
}

void WriteInPlace(BufferedFile& file, std::uint64_t size, const ReplacedRegions& old) {
    file.Seek(0);
    file.Write(old.head.data(), old.head.size());
    const std::uint64_t tailAt = size - old.newTailSize;
    if (old.tail.size() != old.newTailSize)
        file.Truncate(tailAt);
    file.Seek(tailAt);
    file.Write(old.tail.data(), old.tail.size());
}

std::optional<FileIdentity> WriteReplacement(BufferedFile& file, const std::u16string& path,
                                             std::uint64_t size, const ReplacedRegions& old) {
    const auto replacement = FileReplacement::Begin(path, file);
    if (!replacement)
        return std::nullopt;
    BufferedFile& out = replacement->File();
    out.Write(old.head.data(), old.head.size());
    CopyRange(file, old.newHeadSize, size - old.newHeadSize - old.newTailSize, out);
    out.Write(old.tail.data(), old.tail.size());
    out.Flush();
    const auto identity = IdentityOfOpenFile(out.Descriptor());
    if (!identity)
        throw CFileExceptionEx(errno, path);
    replacement->Commit();
    return identity;
}

// A file written since the batch (a forced revert) has tags of its own in place of those the
// batch wrote: the old regions replace those, at the ends the batch changed.
void MeasurePresentTags(BufferedFile& file, std::uint64_t size, ReplacedRegions& old) {
    if (!old.head.empty() || old.newHeadSize != 0) {
        std::array<std::uint8_t, kTagHeaderSize> header{};
        const auto start = ReadRange(file, 0, std::min<std::uint64_t>(size, kTagHeaderSize));
        std::copy(start.begin(), start.end(), header.begin());
        const auto end = size > kTagHeaderSize ? ExistingTagEnd(header) : std::nullopt;
        old.newHeadSize = end && *end <= size ? *end : 0;
    }
    if (!old.tail.empty() || old.newTailSize != 0) {
        const bool record =
            size > kId3v1Size && HasId3v1Magic(ReadRange(file, size - kId3v1Size, 3));
        old.newTailSize = record ? kId3v1Size : 0;
    }
}

}  // namespace

// The old regions of `path`'s file restored in two halves: the first locks and checks the
// file and tells the recorder its present regions, the second writes the old ones.
class Restoring {
  public:
    Restoring(const std::u16string& path, ReplacedRegions old)
        : path_(path), old_(std::move(old)) {}
    // False, with `reason`, when the file may not be written.
    bool Begin(const std::optional<FileIdentity>& expected, SaveRecorder& recorder,
               std::u16string& reason);
    std::optional<FileIdentity> Write(SaveRecorder& recorder, std::u16string& reason);

  private:
    bool Open(std::u16string& reason) {
        CFileExceptionEx error;
        if (file_.Open(path_, BufferedFile::kReadWrite | BufferedFile::kOpenExisting, error))
            return true;
        reason = SystemReasonText(error.ErrorNumber());
        return false;
    }

    std::u16string path_;
    ReplacedRegions old_;
    BufferedFile file_;
    std::optional<FileIdentity> locked_;
    std::uint64_t size_ = 0;
};

bool Restoring::Begin(const std::optional<FileIdentity>& expected, SaveRecorder& recorder,
                      std::u16string& reason) {
    if (!Open(reason))
        return false;
    ReplacedRegions& old = old_;
    locked_ = LockUnchanged(file_, path_, expected);
    if (!locked_) {
        reason = u"it changed since the save";
        return false;
    }
    size_ = file_.Size();
    if (!expected)
        MeasurePresentTags(file_, size_, old);
    if (old.newHeadSize + old.newTailSize > size_) {
        reason = u"it is shorter than the tags the save wrote";
        return false;
    }
    ReplacedRegions present;
    present.head.resize(static_cast<std::size_t>(old.newHeadSize));
    file_.Seek(0);
    if (file_.Read(present.head.data(), present.head.size()) != present.head.size())
        throw CFileExceptionEx(EIO, u"");
    present.tail = ReadRange(file_, size_ - old.newTailSize, old.newTailSize);
    present.newHeadSize = old.head.size();
    present.newTailSize = old.tail.size();
    // The bodies the old head took from the file stay in it, where the old head puts them.
    for (const ReplacedRegions::Kept& stretch : old.kept) {
        if (expected && stretch.newAt + stretch.length <= old.newHeadSize)
            present.kept.push_back({stretch.newAt, stretch.oldAt, stretch.length});
    }
    std::sort(present.kept.begin(), present.kept.end(),
              [](const auto& a, const auto& b) { return a.oldAt < b.oldAt; });
    if (!recorder.BeforeWrite(path_, present, reason)) {
        reason = u"its present tags could not be kept in the history of saves (" + reason + u")";
        return false;
    }
    return true;
}

std::optional<FileIdentity> Restoring::Write(SaveRecorder& recorder, std::u16string& reason) {
    std::optional<FileIdentity> identity;
    if (old_.head.size() == old_.newHeadSize) {
        WriteInPlace(file_, size_, old_);
        identity = IdentityAfterWrite(file_, path_, *locked_);
    } else if (!(identity = WriteReplacement(file_, path_, size_, old_))) {
        reason = u"its folder takes no new file, so the audio cannot be moved safely";
        return std::nullopt;
    }
    recorder.AfterWrite(path_, *identity);
    return identity;
}

InFileLookup BytesInFile(const std::u16string& path) {
    return [path](std::uint64_t at, std::uint64_t length) {
        std::optional<std::vector<std::uint8_t>> bytes;
        BufferedFile file;
        CFileExceptionEx error;
        if (!file.Open(path, BufferedFile::kRead | BufferedFile::kOpenExisting, error))
            return bytes;
        try {
            if (at + length <= file.Size())
                bytes = ReadRange(file, at, length);
        } catch (const CFileExceptionEx&) {
        }
        return bytes;
    };
}

PendingRestore::PendingRestore(const std::u16string& path,
                               const std::optional<FileIdentity>& expected, ReplacedRegions old,
                               SaveRecorder& recorder)
    : restoring_(std::make_unique<Restoring>(path, std::move(old))) {
    try {
        if (!restoring_->Begin(expected, recorder, reason_))
            restoring_.reset();
    } catch (const CFileExceptionEx& failure) {
        reason_ = SystemReasonText(failure.ErrorNumber());
        restoring_.reset();
    }
}

PendingRestore::~PendingRestore() = default;

std::optional<FileIdentity> PendingRestore::Finish(SaveRecorder& recorder,
                                                   const std::u16string* notRecorded,
                                                   std::u16string& reason) {
    if (!restoring_) {
        reason = reason_;
        return std::nullopt;
    }
    const std::unique_ptr<Restoring> restoring = std::move(restoring_);
    if (notRecorded != nullptr) {
        reason =
            u"its present tags could not be kept in the history of saves (" + *notRecorded + u")";
        return std::nullopt;
    }
    try {
        return restoring->Write(recorder, reason);
    } catch (const CFileExceptionEx& failure) {
        reason = SystemReasonText(failure.ErrorNumber());
        return std::nullopt;
    }
}

std::optional<FileIdentity> RestoreRegions(const std::u16string& path,
                                           const std::optional<FileIdentity>& expected,
                                           ReplacedRegions old, SaveRecorder& recorder,
                                           std::u16string& reason) {
    return PendingRestore(path, expected, std::move(old), recorder)
        .Finish(recorder, nullptr, reason);
}

}  // namespace velmora::history
