#include "scan/ChangeRows.h"

#include <fstream>
#include <optional>
#include <span>

#include "history/HistoryStore.h"
#include "history/RegionRestore.h"
#include "tags/id3v1/Id3v1Record.h"
#include "tags/id3v2/FrameIdTable.h"
#include "tags/id3v2/Id3v2Reader.h"
#include "tags/ops/ShownFields.h"
#include "text/FileName.h"

namespace velmora {
namespace {

using Texts = std::array<std::u16string, kChangeColumns.size()>;
using Bytes = std::vector<std::uint8_t>;

// The APIC frames of a tag read from memory, each as its fields' bytes.
std::vector<Bytes> Pictures(const Id3v2Tag& tag) {
    std::vector<Bytes> pictures;
    for (const auto& frame : tag.Frames()) {
        if (frame->Id() != FrameId("APIC"))
            continue;
        Bytes bytes;
        for (std::size_t i = 0; i < frame->FieldCount(); ++i) {
            const auto field = frame->FieldAt(i)->Bytes();
            bytes.insert(bytes.end(), field.begin(), field.end());
        }
        pictures.push_back(std::move(bytes));
    }
    return pictures;
}

// The column texts of a file's tags, and its pictures.
struct TagsRead {
    Texts texts;
    std::vector<Bytes> pictures;
};

TagsRead Read(const ShownTags& tags, const text::CodePage& codePage, const std::u16string& name) {
    TagsRead read;
    for (std::size_t i = 0; i < kChangeColumns.size(); ++i) {
        const Column column = kChangeColumns[i];
        if (column == Column::Filename)
            read.texts[i] = name;
        else if (column == Column::Genre)
            read.texts[i] = ShownGenre(tags, codePage).text;
        else
            read.texts[i] = ShownFrameText(tags, *FrameOfColumn(column), codePage).text;
    }
    read.pictures = Pictures(tags.v2);
    return read;
}

// The tags of a file whose first bytes are `head` and last `tail`.
TagsRead ReadRegions(std::span<const std::uint8_t> head, std::span<const std::uint8_t> tail,
                     const text::CodePage& codePage, const std::u16string& name) {
    Id3v2Tag v2;
    if (!head.empty()) {
        Id3v2Reader reader(codePage, EncodingPolicy{});
        reader.ReadFromMemory(head, head.size() + tail.size(), v2);
    }
    Id3v1Tag v1;
    const bool hasV1 = tail.size() == kId3v1Size && HasId3v1Magic(tail);
    if (hasV1) {
        Id3v1Record record{};
        std::copy(tail.begin(), tail.end(), record.begin());
        DecodeId3v1(record, codePage, v1);
    }
    return Read(ShownTags{v2, hasV1 ? &v1 : nullptr}, codePage, name);
}

// The first `headSize` and last `tailSize` bytes of the file; none when it cannot be read.
std::optional<std::pair<Bytes, Bytes>> FileEnds(const std::u16string& path, std::uint64_t headSize,
                                                std::uint64_t tailSize) {
    std::ifstream file(text::TextToFileName(path), std::ios::binary);
    file.seekg(0, std::ios::end);
    const auto size = static_cast<std::uint64_t>(file.tellg());
    if (!file || headSize + tailSize > size)
        return std::nullopt;
    Bytes head(headSize), tail(tailSize);
    file.seekg(0);
    file.read(reinterpret_cast<char*>(head.data()), std::streamsize(headSize));
    file.seekg(std::streamoff(size - tailSize));
    file.read(reinterpret_cast<char*>(tail.data()), std::streamsize(tailSize));
    return file ? std::optional(std::pair(std::move(head), std::move(tail))) : std::nullopt;
}

std::u16string NameOf(const std::u16string& path) {
    return path.substr(path.rfind(u'/') + 1);
}

}  // namespace

bool StillAsSaved(const history::EntryRow& entry) {
    return entry.identity && IdentityOfPath(entry.pathAfter) == entry.identity;
}

std::size_t FilesStillAsSaved(const std::vector<history::EntryRow>& entries) {
    return static_cast<std::size_t>(std::count_if(entries.begin(), entries.end(), StillAsSaved));
}

RecordedChange RecordedChangeOf(history::HistoryStore& store, const history::EntryRow& entry,
                                const text::CodePage& codePage) {
    RecordedChange recorded;
    recorded.matches = StillAsSaved(entry);
    const std::optional<ReplacedRegions> old =
        store.OldRegions(entry.id, history::BytesInFile(entry.pathAfter));
    // A rename alone changed no tag: both sides show the file as it is.
    const std::uint64_t headSize = old ? old->newHeadSize : 0;
    const std::uint64_t tailSize = old ? old->newTailSize : 0;
    const auto now = old ? FileEnds(entry.pathAfter, headSize, tailSize) : std::nullopt;
    const TagsRead after =
        now ? ReadRegions(now->first, now->second, codePage, NameOf(entry.pathAfter)) : TagsRead{};
    const TagsRead before =
        old ? ReadRegions(old->head, old->tail, codePage, NameOf(entry.pathBefore)) : after;
    recorded.change.before = before.texts;
    recorded.change.after = after.texts;
    recorded.change.before.back() = NameOf(entry.pathBefore);
    recorded.change.after.back() = NameOf(entry.pathAfter);
    recorded.change.picturesChanged = old && now && before.pictures != after.pictures;
    return recorded;
}

FileChange PendingChangeOf(EngineContext& context, const Mp3File& record) {
    FileChange change;
    const Mp3File disk(context, record.Directory(), record.DiskName());
    for (std::size_t i = 0; i < kChangeColumns.size(); ++i) {
        change.before[i] = CellText(disk, kChangeColumns[i], context.codePage);
        change.after[i] = CellText(record, kChangeColumns[i], context.codePage);
    }
    change.before.back() = record.DiskName();
    for (const auto& frame : record.V2().Frames()) {
        if (frame->Id() == FrameId("APIC") && IsFrameModified(*frame))
            change.picturesChanged = true;
    }
    const auto count = [](const Id3v2Tag& tag) {
        return std::count_if(tag.Frames().begin(), tag.Frames().end(),
                             [](const auto& frame) { return frame->Id() == FrameId("APIC"); });
    };
    change.picturesChanged = change.picturesChanged || count(disk.V2()) != count(record.V2()) ||
                             (record.RemoveV2Pending() && count(disk.V2()) != 0);
    return change;
}

}  // namespace velmora
