#include "tags/record/OldRegions.h"

#include <algorithm>
#include <cerrno>

#include "tags/file/BufferedFile.h"
#include "tags/id3v1/Id3v1Record.h"

namespace velmora {
namespace {

// Most tags of text, with the first edge of a cover left in the file, fit in this many.
constexpr std::size_t kFirstBytes = 4096;

std::vector<std::uint8_t> ReadUpTo(BufferedFile& file, std::uint64_t at, std::size_t count) {
    std::vector<std::uint8_t> bytes(count);
    file.Seek(at);
    bytes.resize(file.Read(bytes.data(), count));
    return bytes;
}

// [at, at + count) of the old file of `size` bytes, from what was read ahead when it holds them.
void ReadInto(BufferedFile& file, const ReadAhead& ahead, std::uint64_t size, std::uint64_t at,
              std::uint8_t* out, std::uint64_t count) {
    const std::uint64_t lastAt = size - std::min<std::uint64_t>(size, ahead.last.size());
    if (at + count <= ahead.first.size()) {
        std::copy_n(ahead.first.begin() + static_cast<std::ptrdiff_t>(at), count, out);
    } else if (at >= lastAt && at + count <= size) {
        std::copy_n(ahead.last.begin() + static_cast<std::ptrdiff_t>(at - lastAt), count, out);
    } else {
        file.Seek(at);
        if (file.Read(out, count) != count)
            throw CFileExceptionEx(EIO, u"");
    }
}

// Bodies the new tag takes over byte for byte: those the old file holds plainly inside the
// head the save replaces, which the new tag holds after its header.
std::vector<ReplacedRegions::Kept> KeptBodies(const TagSave& save, std::uint64_t headEnd) {
    std::vector<ReplacedRegions::Kept> kept;
    for (const StoredSplice& splice : save.storedSplices) {
        const StoredBody& body = *splice.body;
        if (body.held || body.unsynchronised || body.compressed || body.skip != 0 ||
            body.storedLength != body.length || body.length <= 2 * ReplacedRegions::Kept::kEdge ||
            body.offset + body.length > headEnd)
            continue;
        kept.push_back({body.offset, kTagHeaderSize + splice.at, body.length});
    }
    std::sort(kept.begin(), kept.end(),
              [](const auto& a, const auto& b) { return a.oldAt < b.oldAt; });
    // Two splices of one body (a copied frame) would overlap: the second is read instead.
    std::uint64_t end = 0;
    std::erase_if(kept, [&](const ReplacedRegions::Kept& piece) {
        const bool overlaps = piece.oldAt < end;
        end = overlaps ? end : piece.oldAt + piece.length;
        return overlaps;
    });
    return kept;
}

}  // namespace

FileFacts ReadFacts(BufferedFile& file, ReadAhead* ahead) {
    FileFacts facts;
    facts.size = file.Size();
    ReadAhead read{ReadUpTo(file, 0, ahead != nullptr ? kFirstBytes : facts.start.size()), {}};
    std::copy_n(read.first.begin(), std::min(read.first.size(), facts.start.size()),
                facts.start.begin());
    if (ahead != nullptr || facts.size > kId3v1Size) {
        const std::uint64_t recordAt = facts.size - std::min<std::uint64_t>(facts.size, kId3v1Size);
        read.last = ReadUpTo(file, recordAt, ahead != nullptr ? kId3v1Size : kId3v1Magic.size());
        facts.id3v1AtEnd = facts.size > kId3v1Size && read.last.size() >= kId3v1Magic.size() &&
                           HasId3v1Magic(std::span(read.last).first(kId3v1Magic.size()));
    }
    if (ahead != nullptr)
        *ahead = std::move(read);
    return facts;
}

ReplacedRegions RegionsBefore(BufferedFile& file, const TagSave& save, const SavePlan& plan,
                              const ReadAhead& ahead) {
    ReplacedRegions old;
    const std::uint64_t headEnd =
        plan.outcome == SavePlan::Outcome::Move ? plan.tagEnd : plan.tagSize;
    old.kept = KeptBodies(save, headEnd);
    old.head.resize(static_cast<std::size_t>(headEnd));
    std::uint64_t at = 0;
    for (std::size_t i = 0; i <= old.kept.size(); ++i) {
        constexpr std::uint64_t edge = ReplacedRegions::Kept::kEdge;
        const std::uint64_t to = i < old.kept.size() ? old.kept[i].oldAt + edge : headEnd;
        ReadInto(file, ahead, plan.oldSize, at, old.head.data() + at, to - at);
        at = i < old.kept.size() ? old.kept[i].oldAt + old.kept[i].length - edge : to;
    }
    old.tail.resize(static_cast<std::size_t>(plan.oldSize - plan.keep));
    ReadInto(file, ahead, plan.oldSize, plan.keep, old.tail.data(), old.tail.size());
    old.newHeadSize = plan.tagSize;
    old.newTailSize = plan.id3v1Record.size();
    return old;
}

}  // namespace velmora
