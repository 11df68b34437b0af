#include "fuzz/FuzzHarness.h"

#include <unistd.h>

#include <algorithm>

#include "tags/id3v2/Id3v2Serializer.h"
#include "text/FileName.h"

namespace velmora::fuzz {
std::vector<Input> SplitAtZeros(Input input, std::size_t maxParts) {
    std::vector<Input> parts;
    for (auto zero = std::ranges::find(input, 0);
         zero != input.end() && parts.size() + 1 < maxParts; zero = std::ranges::find(input, 0)) {
        parts.emplace_back(input.begin(), zero);
        input = Input(zero + 1, input.end());
    }
    parts.push_back(input);
    return parts;
}

std::u16string LenientUtf8(Input bytes) {
    return text::FileNameToText({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
}

std::u32string CodePoints(std::u16string_view text) {
    std::u32string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        const bool high = c >= 0xD800 && c <= 0xDBFF;
        if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        out += c;
    }
    return out;
}

const testing::ScratchDirectory& Scratch() {
    static const testing::ScratchDirectory folder(
        ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : std::filesystem::temp_directory_path(),
        "velmora-fuzz-");
    return folder;
}

void WriteScratchFile(const std::filesystem::path& name, Input bytes) {
    Scratch().WriteFile(name.string(), {reinterpret_cast<const char*>(bytes.data()), bytes.size()});
}

std::vector<FrameSnapshot> SnapshotFrames(const Id3v2Tag& tag, std::uint8_t majorVersion,
                                          const StoredBodySource* source) {
    std::vector<FrameSnapshot> frames;
    frames.reserve(tag.Frames().size());
    for (const auto& frame : tag.Frames()) {
        frames.push_back(
            {frame->Id().ToString(), SerializeFrameBody(*frame, majorVersion, Cp1252(), source),
             frame->BodyForm().compressed, frame->BodyForm().encryptionMethod, frame->GroupId()});
    }
    return frames;
}

}  // namespace velmora::fuzz
