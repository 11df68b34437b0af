#include "fuzz/FuzzInputs.h"
#include "tags/Id3v2TestSupport.h"

namespace velmora::fuzz {
namespace {

using testing::B;
using testing::Bytes;
using testing::Cat;
using testing::Deflate;

Bytes Be32(std::uint32_t value) {
    const auto bytes = MakeBigEndian32(value);
    return Bytes(bytes.begin(), bytes.end());
}

Bytes Synchsafe32(std::uint32_t value) {
    const auto bytes = MakeSynchsafe32(value);
    return Bytes(bytes.begin(), bytes.end());
}

// A tag header claiming 2^28 - 1 body bytes (the most a synchsafe size holds) and a frame
// claiming 2 GiB, in a file of 1 KiB.
Bytes TagClaimingHugeSize(std::uint8_t version, std::uint8_t flags) {
    Bytes file = Cat({B("ID3"),
                      {version, 0, flags},
                      Synchsafe32(0x0FFFFFFF),
                      B("TIT2"),
                      Be32(0x7FFFFFFF),
                      {0, 0, 0, 'T', 'i', 't', 'l', 'e'}});
    file.resize(1024, 'x');
    return file;
}

// One ID3v2.3 frame flagged compressed whose size before compression claims 4 GiB - 1,
// holding a real zlib stream that inflates to 1 MiB.
Bytes CompressedFrameClaiming4GiB() {
    const Bytes body = Cat({Be32(0xFFFFFFFF), Deflate(Bytes(1 << 20, 'A'))});
    return testing::Tag(3, testing::Frame("TXXX", body, 3, 0x80));
}

// The same in ID3v2.4 (compressed, data length indicator at its synchsafe maximum) and as
// an ID3v2.2.1 compressed data meta-frame.
Bytes CompressedFrameV24() {
    const Bytes body = Cat({Synchsafe32(0x0FFFFFFF), Deflate(Bytes(1 << 20, 0))});
    return testing::Tag(4, testing::Frame("TIT2", body, 4, 0x08 | 0x01));
}

Bytes CompressedMetaFrameV22() {
    const Bytes inner = testing::Frame22("TT2", testing::TextBody(std::string(1 << 20, 'z')));
    const Bytes body = Cat({B("z"), Be32(0xFFFFFFFF), Deflate(inner)});
    return testing::Tag(2, testing::Frame22("CDM", body));
}

Bytes ZeroSizeFrames(std::size_t count) {
    Bytes frames;
    frames.reserve(count * 10);
    for (std::size_t i = 0; i < count; ++i) {
        const Bytes frame = testing::Frame(i % 2 ? "TXXX" : "PRIV", {});
        frames.insert(frames.end(), frame.begin(), frame.end());
    }
    return testing::Tag(3, frames);
}

// Options byte (multiline), pattern, zero, subject.
Bytes RegexInput(const std::string& pattern, const std::string& subject) {
    return Cat({{2}, B(pattern), {0}, B(subject)});
}

std::string Repeat(std::string_view part, std::size_t count) {
    std::string out;
    for (std::size_t i = 0; i < count; ++i)
        out += part;
    return out;
}

}  // namespace

std::vector<NamedInput> HostileInputs() {
    std::vector<NamedInput> inputs;
    for (std::string_view target : {"mp3_load", "mp3_save"}) {
        inputs.push_back({target, "tag-claims-2p28-in-1kib", TagClaimingHugeSize(3, 0)});
        inputs.push_back({target, "tag-v24-footer-claims-2p28", TagClaimingHugeSize(4, 0x10)});
        inputs.push_back({target, "compressed-frame-claims-4gib", CompressedFrameClaiming4GiB()});
        inputs.push_back({target, "compressed-frame-v24-claims-256mib", CompressedFrameV24()});
        inputs.push_back({target, "compressed-meta-frame-v22", CompressedMetaFrameV22()});
        inputs.push_back({target, "100000-zero-size-frames", ZeroSizeFrames(100'000)});
    }
    const std::string subject = "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab";
    inputs.push_back({"regex", "200-nested-groups",
                      RegexInput(Repeat("(", 200) + "a" + Repeat(")", 200), subject)});
    inputs.push_back({"regex", "200-nested-starred-groups",
                      RegexInput(Repeat("(", 200) + "a*" + Repeat(")*", 200) + "c", subject)});
    inputs.push_back({"regex", "5000-nested-plain-groups",
                      RegexInput(Repeat("(?:", 5000) + "a" + Repeat(")", 5000), subject)});
    inputs.push_back({"regex", "5000-unclosed-groups", RegexInput(Repeat("(?:", 5000), subject)});
    inputs.push_back(
        {"regex", "nested-counted-repeats", RegexInput("((a{0,1000}){0,1000}){0,1000}", subject)});
    return inputs;
}

}  // namespace velmora::fuzz
