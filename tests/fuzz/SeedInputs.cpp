#include "fuzz/FuzzInputs.h"
#include "tags/Id3v1TestRecords.h"
#include "tags/Id3v2TestSupport.h"
#include "tags/mpeg/mpeg_test_streams.h"

namespace velmora::fuzz {
namespace {

using namespace std::string_view_literals;

using testing::B;
using testing::Bytes;
using testing::Cat;
using testing::Frame;
using testing::Tag;
using testing::TextBody;

// MPEG-1 Layer III, 128 kbit/s, 44.1 kHz, stereo; the first frame may carry a Xing header
// (frame and byte counts) after its 32 bytes of side information.
Bytes MpegFrames(std::size_t count, bool xing) {
    Bytes audio = testing::Frames(testing::FrameShape{.channelMode = 0}, count);
    if (xing)
        testing::PutXing(audio, 36, "Xing", 3, 100, 0xA2EC);
    return audio;
}

Bytes Id3v1(const std::string& title, std::uint8_t track, std::uint8_t genre) {
    const std::string trackAndGenre{static_cast<char>(track), static_cast<char>(genre)};
    return B(testing::AsBytes(testing::RecordWith({{3, title.substr(0, 30)},
                                                   {33, std::string(60, 'a')},
                                                   {93, "1999" + std::string(28, ' ')},
                                                   {126, trackAndGenre}})));
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
    // The expression, then zero-separated artist, album, title, track, year and genre.
    seeds.push_back({"rename", "every-variable",
                     B("%artist - %album - %track - %title (%year) %genre\0Air\0Moon Safari\0"
                       "Playground\0"
                       "5\0"
                       "1998\0(17)"sv)});
    seeds.push_back({"rename", "unknown-field", B("%artist %bogus")});
    seeds.push_back({"csv", "quoted-cells",
                     B("\xEF\xBB\xBFPath,Title\r\n\"/m/a.mp3\",\"say \"\"hi\"\", then\tgo\"\r\n"
                       "\"/m/b.mp3\",\"two\nlines\"\n/m/c.mp3,=1+1")});
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
