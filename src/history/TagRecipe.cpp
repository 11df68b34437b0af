#include "history/TagRecipe.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace velmora::history {
namespace {

// Bodies shorter than this stay in the recipe: kept apart, a body costs its digest in the
// recipe and a link (two rows holding the digest, about 80 bytes), and the links are most of
// what a save's record costs the store in time.
constexpr std::size_t kSmallestChunk = 128;
constexpr std::uint8_t kInline = 'I';
constexpr std::uint8_t kZeros = 'Z';
constexpr std::uint8_t kChunk = 'C';
// A stretch left in the file, known by a digest of its edges: 'E' names the edges' length,
// 'F' (recipes of stores made before edges shrank) has edges of kOldEdge.
constexpr std::uint8_t kInFile = 'E';
constexpr std::uint8_t kInFileOldEdges = 'F';
constexpr std::uint64_t kEdge = ReplacedRegions::Kept::kEdge;
constexpr std::uint64_t kOldEdge = 4096;
// No tag region is larger (a 28-bit size, its header and footer): a damaged recipe that
// claims more is refused instead of filling memory.
constexpr std::uint64_t kLargestRun = (1u << 28) + 20;

void PutNumber(std::vector<std::uint8_t>& out, std::uint64_t value) {
    do {
        const auto low = static_cast<std::uint8_t>(value & 0x7F);
        value >>= 7;
        out.push_back(value ? (low | 0x80) : low);
    } while (value);
}

std::optional<std::uint64_t> TakeNumber(std::span<const std::uint8_t>& in) {
    std::uint64_t value = 0;
    for (int shift = 0; shift < 64 && !in.empty(); shift += 7) {
        const std::uint8_t byte = in.front();
        in = in.subspan(1);
        value |= std::uint64_t{byte & 0x7Fu} << shift;
        if (!(byte & 0x80))
            return value;
    }
    return std::nullopt;
}

// What a stretch left in the file is known by: its first and last bytes (reading it all
// would cost as much as keeping it).
Digest EdgeDigest(Sha256& hasher, std::span<const std::uint8_t> stretch, std::uint64_t edge) {
    return hasher.Of(stretch.first(edge), stretch.last(edge));
}

// How many bytes at the start of `bytes` are zero, a word at a time (padding runs to KiBs).
std::size_t LeadingZeros(std::span<const std::uint8_t> bytes) {
    std::size_t at = 0;
    for (std::uint64_t word = 0; at + sizeof word <= bytes.size(); at += sizeof word) {
        std::memcpy(&word, bytes.data() + at, sizeof word);
        if (word != 0)
            break;
    }
    while (at < bytes.size() && bytes[at] == 0)
        ++at;
    return at;
}

class Splitter {
  public:
    Splitter(Sha256& hasher, std::span<const std::uint8_t> bytes,
             std::span<const ReplacedRegions::Kept> kept)
        : hasher_(hasher), bytes_(bytes), kept_(kept) {
        split_.recipe.reserve(std::min<std::size_t>(bytes.size(), kReserved));
    }

    // Where the next stretch left in the file begins, from `from` on.
    std::size_t NextKept(std::size_t from) const {
        for (const auto& stretch : kept_) {
            if (stretch.oldAt + stretch.length > from)
                return static_cast<std::size_t>(std::max<std::uint64_t>(stretch.oldAt, from));
        }
        return bytes_.size();
    }

    void Piece(std::size_t from, std::size_t to) {
        for (const auto& stretch : kept_) {
            const std::uint64_t end = stretch.oldAt + stretch.length;
            if (end <= from || stretch.oldAt >= to)
                continue;
            if (stretch.oldAt < from || end > to || end > bytes_.size() ||
                stretch.length < 2 * kEdge)
                throw std::invalid_argument("a body left in the file crosses a frame");
            Stored(from, static_cast<std::size_t>(stretch.oldAt));
            EndInline();
            split_.recipe.push_back(kInFile);
            PutNumber(split_.recipe, stretch.newAt);
            PutNumber(split_.recipe, stretch.length);
            PutNumber(split_.recipe, kEdge);
            const Digest digest =
                EdgeDigest(hasher_, bytes_.subspan(stretch.oldAt, stretch.length), kEdge);
            split_.recipe.insert(split_.recipe.end(), digest.begin(), digest.end());
            from = static_cast<std::size_t>(end);
        }
        Stored(from, to);
    }
    SplitTag Take() {
        EndInline();
        return std::move(split_);
    }

  private:
    // Recipes of most tags stay under this; a larger one grows as it must.
    static constexpr std::size_t kReserved = 2048;

    void Stored(std::size_t from, std::size_t to) {
        const auto piece = bytes_.subspan(from, to - from);
        if (piece.empty())
            return;
        const bool zeros = LeadingZeros(piece) == piece.size();
        if (!zeros && piece.size() < kSmallestChunk) {
            // Short pieces side by side (a frame's header and body) go in as one.
            if (from != inlineTo_)
                EndInline();
            inlineFrom_ = inlineFrom_ < inlineTo_ ? inlineFrom_ : from;
            inlineTo_ = to;
            return;
        }
        EndInline();
        if (zeros) {
            split_.recipe.push_back(kZeros);
            PutNumber(split_.recipe, piece.size());
        } else {
            const Chunk chunk{hasher_.Of(piece), piece};
            split_.recipe.push_back(kChunk);
            split_.recipe.insert(split_.recipe.end(), chunk.hash.begin(), chunk.hash.end());
            split_.chunks.push_back(chunk);
        }
    }

    void EndInline() {
        if (inlineFrom_ == inlineTo_)
            return;
        split_.recipe.push_back(kInline);
        PutNumber(split_.recipe, inlineTo_ - inlineFrom_);
        const auto run = bytes_.subspan(inlineFrom_, inlineTo_ - inlineFrom_);
        split_.recipe.insert(split_.recipe.end(), run.begin(), run.end());
        inlineFrom_ = inlineTo_ = 0;
    }

    Sha256& hasher_;
    std::span<const std::uint8_t> bytes_;
    std::span<const ReplacedRegions::Kept> kept_;
    SplitTag split_;
    // Short pieces waiting to go in as one: bytes_[inlineFrom_, inlineTo_).
    std::size_t inlineFrom_ = 0;
    std::size_t inlineTo_ = 0;
};

std::uint64_t BigEndian(std::span<const std::uint8_t> bytes, unsigned bitsPerByte) {
    std::uint64_t value = 0;
    for (std::uint8_t b : bytes)
        value = (value << bitsPerByte) | (bitsPerByte == 7 ? (b & 0x7Fu) : b);
    return value;
}

// Where the frames start: after the header and an extended header; none when the tag's
// frames cannot be walked (unsynchronised as a whole, or a size that does not fit).
std::optional<std::size_t> FramesStart(std::span<const std::uint8_t> tag) {
    const std::uint8_t version = tag[3];
    const std::uint8_t flags = tag[5];
    if (version < 2 || version > 4 || (version < 4 && (flags & 0x80)))
        return std::nullopt;
    if (version == 2 || !(flags & 0x40))
        return 10;
    if (tag.size() < 14)
        return std::nullopt;
    const std::uint64_t size =
        version == 3 ? BigEndian(tag.subspan(10, 4), 8) + 4 : BigEndian(tag.subspan(10, 4), 7);
    if (size > tag.size() - 10)
        return std::nullopt;
    return 10 + static_cast<std::size_t>(size);
}

}  // namespace

namespace {

SplitTag SplitFrames(Sha256& hasher, std::span<const std::uint8_t> bytes,
                     std::span<const ReplacedRegions::Kept> kept) {
    Splitter splitter(hasher, bytes, kept);
    const bool tag = bytes.size() >= 10 && bytes[0] == 'I' && bytes[1] == 'D' && bytes[2] == '3';
    const std::optional<std::size_t> start = tag ? FramesStart(bytes) : std::nullopt;
    if (!start) {
        splitter.Piece(0, bytes.size());
        return splitter.Take();
    }
    splitter.Piece(0, *start);
    const std::uint8_t version = bytes[3];
    const std::size_t header = version == 2 ? 6 : 10;
    std::size_t at = *start;
    while (at + header <= bytes.size() && bytes[at] != 0) {
        const auto sizeBytes = version == 2 ? bytes.subspan(at + 3, 3) : bytes.subspan(at + 4, 4);
        const std::uint64_t size = BigEndian(sizeBytes, version == 4 ? 7 : 8);
        if (size > bytes.size() - at - header)
            break;
        splitter.Piece(at, at + header);
        splitter.Piece(at + header, at + header + static_cast<std::size_t>(size));
        at += header + static_cast<std::size_t>(size);
    }
    // Padding, and a footer after it, or whatever did not parse.
    const std::size_t unread = splitter.NextKept(at);
    const std::size_t zerosEnd = at + LeadingZeros(bytes.subspan(at, unread - at));
    splitter.Piece(at, zerosEnd);
    splitter.Piece(zerosEnd, bytes.size());
    return splitter.Take();
}

}  // namespace

SplitTag SplitForStore(Sha256& hasher, std::span<const std::uint8_t> bytes,
                       std::span<const ReplacedRegions::Kept> kept) {
    try {
        return SplitFrames(hasher, bytes, kept);
    } catch (const std::invalid_argument&) {
        // Frames walked otherwise than the save saw them: the bytes as one piece still split
        // around the stretches left in the file.
        Splitter whole(hasher, bytes, kept);
        whole.Piece(0, bytes.size());
        return whole.Take();
    }
}

namespace {

// The stretch a recipe names in the file the save wrote, checked by its edges.
bool TakeFromFile(Sha256& hasher, std::span<const std::uint8_t>& recipe, bool oldEdges,
                  const InFileLookup& inFile, std::vector<std::uint8_t>& out, FromFile& fromFile) {
    const auto at = TakeNumber(recipe);
    const auto length = TakeNumber(recipe);
    const auto edge = oldEdges ? std::optional(kOldEdge) : TakeNumber(recipe);
    if (!at || !length || !edge || *edge == 0 || *length > kLargestRun || *length / 2 < *edge ||
        recipe.size() < sizeof(Digest))
        return false;
    Digest digest{};
    std::copy_n(recipe.begin(), digest.size(), digest.begin());
    recipe = recipe.subspan(digest.size());
    const auto bytes = inFile ? inFile(*at, *length) : std::nullopt;
    if (!bytes || bytes->size() != *length || EdgeDigest(hasher, *bytes, *edge) != digest) {
        fromFile.changed = true;
        return false;
    }
    fromFile.stretches.push_back({out.size(), *at, *length});
    out.insert(out.end(), bytes->begin(), bytes->end());
    return true;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> Rebuild(Sha256& hasher,
                                                 std::span<const std::uint8_t> recipe,
                                                 const ChunkLookup& lookup,
                                                 const InFileLookup& inFile, FromFile* fromFile) {
    std::vector<std::uint8_t> out;
    FromFile taken;
    while (!recipe.empty()) {
        const std::uint8_t kind = recipe.front();
        recipe = recipe.subspan(1);
        if (kind == kInFile || kind == kInFileOldEdges) {
            if (TakeFromFile(hasher, recipe, kind == kInFileOldEdges, inFile, out, taken))
                continue;
            if (fromFile != nullptr)
                fromFile->changed = taken.changed;
            return std::nullopt;
        }
        if (kind == kChunk) {
            if (recipe.size() < sizeof(Digest))
                return std::nullopt;
            Digest hash{};
            std::copy_n(recipe.begin(), hash.size(), hash.begin());
            recipe = recipe.subspan(hash.size());
            const auto bytes = lookup(hash);
            if (!bytes)
                return std::nullopt;
            out.insert(out.end(), bytes->begin(), bytes->end());
            continue;
        }
        const auto count = TakeNumber(recipe);
        if (!count || *count > kLargestRun || (kind == kInline && *count > recipe.size()) ||
            (kind != kInline && kind != kZeros))
            return std::nullopt;
        if (kind == kZeros) {
            out.resize(out.size() + static_cast<std::size_t>(*count), 0);
        } else {
            out.insert(out.end(), recipe.begin(),
                       recipe.begin() + static_cast<std::ptrdiff_t>(*count));
            recipe = recipe.subspan(static_cast<std::size_t>(*count));
        }
    }
    if (fromFile != nullptr)
        *fromFile = std::move(taken);
    return out;
}

}  // namespace velmora::history
