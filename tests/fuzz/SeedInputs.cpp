#include "fuzz/FuzzInputs.h"
#include "tags/Id3v2TestSupport.h"

namespace velmora::fuzz {
namespace {

using testing::B;
using testing::Bytes;
using testing::Cat;
using testing::Frame;
using testing::Tag;
using testing::TextBody;

// MPEG-1 Layer III, 128 kbit/s, 44.1 kHz, stereo (ISO/IEC 11172-3): 417-byte frames.
constexpr std::size_t kFrameSize = 417;

Bytes MpegFrames(std::size_t count, bool xing) {
    Bytes audio;
    for (std::size_t i = 0; i < count; ++i) {
        Bytes frame(kFrameSize, 0);
        frame[0] = 0xFF;
        frame[1] = 0xFB;
        frame[2] = 0x90;
        frame[3] = 0x00;
        if (xing && i == 0) {
            // After the 32 bytes of side information: "Xing", flags (frames, bytes), counts.
            const Bytes header = Cat({B("Xing"), {0, 0, 0, 3}, {0, 0, 0, 100}, {0, 0, 0xA2, 0xEC}});
            std::copy(header.begin(), header.end(), frame.begin() + 36);
        }
        audio.insert(audio.end(), frame.begin(), frame.end());
    }
    return audio;
}

Bytes Id3v1(std::string_view title, std::uint8_t track, std::uint8_t genre) {
    Bytes tag = B("TAG");
    Bytes field(30, 0);
    std::copy(title.begin(), title.begin() + std::min<std::size_t>(title.size(), 30),
              field.begin());
    tag.insert(tag.end(), field.begin(), field.end());
    tag.resize(3 + 30 * 3, 'a');
    const Bytes rest = Cat({B("1999"), Bytes(28, ' '), {0, track, genre}});
    tag.insert(tag.end(), rest.begin(), rest.end());
    return tag;
}

Bytes V23Tag() {
    const Bytes comment = Cat({{0}, B("eng"), {0}, B("A comment")});
    const Bytes picture = Cat({{0}, B("image/png"), {0, 3}, B("cover"), {0}, B("\x89PNG....")});
    const Bytes extra = Cat({{1}, testing::Utf16(u"desc"), {0, 0}, testing::Utf16(u"value")});
    return Tag(3,
               Cat({Frame("TIT2", TextBody("Title")), Frame("TPE1", TextBody("Artist")),
                    Frame("TRCK", TextBody("05/12")), Frame("TCON", TextBody("(17)Rock")),
                    Frame("COMM", comment), Frame("APIC", picture), Frame("TXXX", extra)}),
               64);
}

Bytes V24Tag() {
    const Bytes utf8 = Cat({{3}, B("Gr\xC3\xBC\xC3\x9F")});
    return Tag(4,
               Cat({Frame("TIT2", utf8, 4), Frame("TDRC", TextBody("2001"), 4),
                    Frame("TPE1", {0, 'A', 0xFF, 0, 'B'}, 4, 0x02)}),
               0, 0x80);
}

Bytes V22Tag() {
    return Tag(2, Cat({testing::Frame22("TT2", TextBody("Old title")),
                       testing::Frame22("TP1", TextBody("Old artist"))}));
}

Bytes Regex(std::uint8_t options, std::string_view pattern, std::string_view subject) {
    return Cat({{options}, B(pattern), {0}, B(subject)});
}

}  // namespace

std::vector<NamedInput> SeedInputs() {
    std::vector<NamedInput> seeds;
    for (std::string_view target : {"mp3_load", "mp3_save"}) {
        seeds.push_back({target, "v23-frames-audio-v1",
                         Cat({V23Tag(), MpegFrames(3, false), Id3v1("V1 title", 7, 17)})});
        seeds.push_back({target, "v24-unsynchronised-xing", Cat({V24Tag(), MpegFrames(3, true)})});
        seeds.push_back({target, "v22-only", V22Tag()});
        seeds.push_back({target, "audio-only", MpegFrames(4, false)});
        seeds.push_back({target, "v1-only", Id3v1("Only", 1, 2)});
    }
    seeds.push_back({"regex", "named-groups",
                     Regex(2, "(?P<artist>.*) - (?P<title>.*)\\.mp3", "Air - Playground.mp3")});
    seeds.push_back({"regex", "classes-and-counts",
                     Regex(3, "^[A-Za-z_]\\w{2,5}(\\d+|[^x-z])?$", "ab_c42\nxyz")});
    seeds.push_back({"regex", "backreference", Regex(6, "(a|b)+ \\1 (?i)c", "abab b c")});
    seeds.push_back({"rename", "every-variable",
                     Cat({B("%artist - %album - %track - %title (%year) %genre"),
                          {0},
                          B("Air"),
                          {0},
                          B("Moon Safari"),
                          {0},
                          B("Playground"),
                          {0},
                          B("5"),
                          {0},
                          B("1998"),
                          {0},
                          B("(17)")})});
    seeds.push_back({"rename", "unknown-field", B("%artist %bogus")});
    seeds.push_back({"settings", "every-type",
                     B("Recurse = 1\nUse2.4 = 0\nEncoding = 2\nBrowseDir = \"/music\"\n"
                       "CodePage = \"CP1252\"\nRegExps = [\"(.*)\", \"x\"]\n"
                       "Renames = [\"%artist\"]\n\n[XML]\nV2Title = 1\nStructure0 = 3\n")});
    seeds.push_back({"settings", "wrong-types",
                     B("Recurse = \"yes\"\nEncoding = -1\nBrowseDir = 5\nXML = 4\n")});
    seeds.push_back({"xml_writer", "nested-attributes",
                     Cat({{0, 4 | (3 << 3), 'A', 0, 'r', 0, 't', 0, 2, 3, 0, 4 | (2 << 3)},
                          {0x3C, 0, 0x26, 0},
                          {1, 4 | (2 << 3)},
                          {0x00, 0xD8, 0x09, 0}})});
    return seeds;
}

}  // namespace velmora::fuzz
