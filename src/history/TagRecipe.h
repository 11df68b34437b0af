#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "history/Sha256.h"

namespace velmora::history {

// A stretch of old bytes kept once in the store under its digest.
struct Chunk {
    Digest hash;
    std::span<const std::uint8_t> bytes;
};

// Old tag bytes taken apart: a recipe that names, in order, the bytes kept inline (headers,
// short bodies), runs of zeros (padding) and chunks (frame bodies: covers, lyrics), so that
// the bytes rebuild exactly and a body shared by many files is kept once. Works on any bytes:
// what does not parse as frames becomes one chunk.
struct SplitTag {
    std::vector<std::uint8_t> recipe;
    std::vector<Chunk> chunks;  // spans into the bytes split
};
SplitTag SplitForStore(std::span<const std::uint8_t> bytes);

// The bytes a recipe describes; none when the recipe is damaged or a chunk is missing.
using ChunkLookup = std::function<std::optional<std::vector<std::uint8_t>>(const Digest&)>;
std::optional<std::vector<std::uint8_t>> Rebuild(std::span<const std::uint8_t> recipe,
                                                 const ChunkLookup& lookup);

}  // namespace velmora::history
