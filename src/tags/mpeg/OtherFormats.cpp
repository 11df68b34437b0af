#include "tags/mpeg/OtherFormats.h"

#include <algorithm>
#include <string_view>

namespace velmora {

namespace {

struct Signature {
    std::size_t offset;
    std::string_view bytes;
};

using namespace std::string_view_literals;

constexpr Signature kSignatures[] = {
    {0, "\x89PNG\r\n\x1A\n"sv},  // PNG
    {0, "\xFF\xD8\xFF"sv},       // JPEG
    {0, "GIF8"sv},               // GIF
    {0, "fLaC"sv},               // FLAC
    {0, "OggS"sv},               // Ogg (Vorbis, Opus, FLAC)
    {0, "RIFF"sv},               // WAV, AVI, WebP
    {0, "FORM"sv},               // AIFF
    {4, "ftyp"sv},               // MP4, M4A
    {0, "\x1A\x45\xDF\xA3"sv},   // Matroska, WebM
    {0, "PK\x03\x04"sv},         // ZIP
    {0, "%PDF"sv},               // PDF
    {0, "MAC "sv},               // Monkey's Audio
    {0, "wvpk"sv},               // WavPack
};

}  // namespace

bool StartsAsOtherFormat(std::span<const std::uint8_t> start) {
    return std::any_of(std::begin(kSignatures), std::end(kSignatures), [&](const Signature& s) {
        return start.size() >= s.offset + s.bytes.size() &&
               std::equal(s.bytes.begin(), s.bytes.end(), start.begin() + s.offset,
                          [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
    });
}

}  // namespace velmora
