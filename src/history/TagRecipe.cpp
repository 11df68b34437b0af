#include "history/TagRecipe.h"

#include <algorithm>

namespace velmora::history {
namespace {

// Bodies shorter than this stay in the recipe: a digest would cost about as much.
constexpr std::size_t kSmallestChunk = 64;
constexpr std::uint8_t kInline = 'I';
constexpr std::uint8_t kZeros = 'Z';
constexpr std::uint8_t kChunk = 'C';
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

class Splitter {
  public:
    explicit Splitter(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    void Piece(std::size_t from, std::size_t to) {
        const auto piece = bytes_.subspan(from, to - from);
        if (piece.empty())
            return;
        if (std::all_of(piece.begin(), piece.end(), [](std::uint8_t b) { return b == 0; })) {
            split_.recipe.push_back(kZeros);
            PutNumber(split_.recipe, piece.size());
        } else if (piece.size() < kSmallestChunk) {
            split_.recipe.push_back(kInline);
            PutNumber(split_.recipe, piece.size());
            split_.recipe.insert(split_.recipe.end(), piece.begin(), piece.end());
        } else {
            const Chunk chunk{Sha256(piece), piece};
            split_.recipe.push_back(kChunk);
            split_.recipe.insert(split_.recipe.end(), chunk.hash.begin(), chunk.hash.end());
            split_.chunks.push_back(chunk);
        }
    }
    SplitTag Take() { return std::move(split_); }

  private:
    std::span<const std::uint8_t> bytes_;
    SplitTag split_;
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

SplitTag SplitForStore(std::span<const std::uint8_t> bytes) {
    Splitter splitter(bytes);
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
    std::size_t zerosEnd = at;
    while (zerosEnd < bytes.size() && bytes[zerosEnd] == 0)
        ++zerosEnd;
    splitter.Piece(at, zerosEnd);
    splitter.Piece(zerosEnd, bytes.size());
    return splitter.Take();
}

std::optional<std::vector<std::uint8_t>> Rebuild(std::span<const std::uint8_t> recipe,
                                                 const ChunkLookup& lookup) {
    std::vector<std::uint8_t> out;
    while (!recipe.empty()) {
        const std::uint8_t kind = recipe.front();
        recipe = recipe.subspan(1);
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
    return out;
}

}  // namespace velmora::history
