#include "tags/record/OldRegions.h"

#include <algorithm>
#include <cerrno>

#include "tags/file/BufferedFile.h"

namespace velmora {
namespace {

std::vector<std::uint8_t> ReadRange(BufferedFile& file, std::uint64_t from, std::uint64_t to) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(to - from));
    file.Seek(from);
    if (file.Read(bytes.data(), bytes.size()) != bytes.size())
        throw CFileExceptionEx(EIO, u"");
    return bytes;
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

ReplacedRegions RegionsBefore(BufferedFile& file, const TagSave& save, const SavePlan& plan) {
    ReplacedRegions old;
    const std::uint64_t headEnd =
        plan.outcome == SavePlan::Outcome::Move ? plan.tagEnd : plan.tagSize;
    old.kept = KeptBodies(save, headEnd);
    old.head.resize(static_cast<std::size_t>(headEnd));
    std::uint64_t at = 0;
    for (std::size_t i = 0; i <= old.kept.size(); ++i) {
        constexpr std::uint64_t edge = ReplacedRegions::Kept::kEdge;
        const std::uint64_t to = i < old.kept.size() ? old.kept[i].oldAt + edge : headEnd;
        file.Seek(at);
        if (file.Read(old.head.data() + at, to - at) != to - at)
            throw CFileExceptionEx(EIO, u"");
        at = i < old.kept.size() ? old.kept[i].oldAt + old.kept[i].length - edge : to;
    }
    old.tail = ReadRange(file, plan.keep, plan.oldSize);
    old.newHeadSize = plan.tagSize;
    old.newTailSize = plan.id3v1Record.size();
    return old;
}

}  // namespace velmora
