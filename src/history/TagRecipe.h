#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "history/Sha256.h"
#include "tags/record/SaveRecorder.h"

namespace velmora::history {

// A stretch of old bytes kept once in the store under its digest.
struct Chunk {
    Digest hash;
    std::span<const std::uint8_t> bytes;
};

// Old tag bytes taken apart: a recipe that names, in order, the bytes kept inline (headers,
// short bodies), runs of zeros (padding), chunks (frame bodies: covers, lyrics) and stretches
// the new file still holds, so that the bytes rebuild exactly, a body shared by many files is
// kept once and a body the save left alone is not kept at all. Works on any bytes: what does
// not parse as frames becomes one chunk.
struct SplitTag {
    std::vector<std::uint8_t> recipe;
    std::vector<Chunk> chunks;  // spans into the bytes split
};
// `kept`: stretches of `bytes` the new file holds (see ReplacedRegions), which `bytes` holds
// only at their edges. Throws std::invalid_argument when one crosses a frame's bounds.
SplitTag SplitForStore(Sha256& hasher, std::span<const std::uint8_t> bytes,
                       std::span<const ReplacedRegions::Kept> kept = {});

// The bytes a recipe describes; none when the recipe is damaged, a chunk is missing or a
// stretch is no longer in the file.
using ChunkLookup = std::function<std::optional<std::vector<std::uint8_t>>(const Digest&)>;
// `length` bytes at `at` of the file the save wrote.
using InFileLookup =
    std::function<std::optional<std::vector<std::uint8_t>>(std::uint64_t at, std::uint64_t length)>;
// What a rebuild took from the file: the stretches (oldAt in the bytes rebuilt, newAt in the
// file), and whether one was no longer there.
struct FromFile {
    std::vector<ReplacedRegions::Kept> stretches;
    bool changed = false;
};
std::optional<std::vector<std::uint8_t>> Rebuild(Sha256& hasher,
                                                 std::span<const std::uint8_t> recipe,
                                                 const ChunkLookup& lookup,
                                                 const InFileLookup& inFile = {},
                                                 FromFile* fromFile = nullptr);

}  // namespace velmora::history
