#include "fuzz/FuzzHarness.h"
#include "tags/Id3v1TestRecords.h"
#include "tags/mpeg/mpeg_test_streams.h"

namespace velmora::fuzz {
namespace {

using namespace std::literals;
using namespace velmora::testing;

// MPEG-1 Layer III frames, 128 kbit/s, 44.1 kHz, stereo.
Bytes Audio(std::size_t count) {
    return Frames(FrameShape{.channelMode = 0}, count);
}

Bytes Id3v1(const std::string& title, char track) {
    return B(AsBytes(RecordWith({{3, title}, {93, "1999"}, {126, {track, 17}}})));
}

// A tag that claims 2^28 - 1 bytes (the most a synchsafe size holds) holding a frame that
// claims 2 GiB, in a file of 1 KiB.
Bytes TagClaimingHugeSize(std::string_view versionAndFlags) {
    Bytes file = Cat({B("ID3"), B(versionAndFlags), B("\x7F\x7F\x7F\x7FTIT2\x7F\xFF\xFF\xFF\0\0"sv),
                      TextBody("Title")});
    file.resize(1024, 'x');
    return file;
}

// `open` and `close` `depth` times around `middle`.
std::string Nested(std::string_view open, std::string_view middle, std::string_view close,
                   std::size_t depth) {
    std::string out(middle);
    for (std::size_t i = 0; i < depth; ++i)
        out = std::string(open) + out + std::string(close);
    return out;
}

void AddMp3Inputs(std::vector<NamedInput>& inputs) {
    Bytes zeroSizeFrames;
    for (int i = 0; i < 100'000; ++i)
        Append(zeroSizeFrames, Frame(i % 2 ? "TXXX" : "PRIV", {}));
    // The first frame carries a Xing header (frame and byte counts) after its side information.
    Bytes xing = Audio(3);
    PutXing(xing, 36, "Xing", 3, 100, 0xA2EC);
    // Well-formed tags of each version, with the frames the editor shows.
    const Bytes v23 =
        Cat({Frame("TIT2", TextBody("Title")), Frame("TRCK", TextBody("05/12")),
             Frame("TCON", TextBody("(17)Rock")), Frame("COMM", B("\0eng\0A comment"sv)),
             Frame("APIC", B("\0image/png\0\3cover\0\x89PNG...."sv)),
             Frame("TXXX", Cat({{1}, Utf16(u"desc"), {0, 0}, Utf16(u"v")}))});
    const Bytes v24 =
        Cat({Frame("TIT2", B("\3Gr\xC3\xBC\xC3\x9F"sv), 4), Frame("TDRC", TextBody("2001"), 4),
             Frame("TPE1", {0, 'A', 0xFF, 0, 'B'}, 4, 0x02)});
    const std::pair<std::string, Bytes> files[] = {
        {"v23-frames-audio-v1", Cat({Tag(3, v23, 64), Audio(3), Id3v1("V1 title", 7)})},
        {"v24-unsynchronised-xing", Cat({Tag(4, v24, 0, 0x80), xing})},
        {"v22-only", Tag(2, Cat({Frame22("TT2", TextBody("Old")), Frame22("TP1", TextBody("A"))}))},
        {"audio-only", Audio(4)},
        {"v1-only", Id3v1("Only", 1)},
        // Hostile: sizes that lie, a frame whose size before compression claims 4 GiB - 1 (a
        // real zlib stream of 1 MiB), the same in 2.4 and as a 2.2.1 compressed meta-frame.
        {"tag-claims-2p28-in-1kib", TagClaimingHugeSize("\3\0\0"sv)},
        {"tag-v24-footer-claims-2p28", TagClaimingHugeSize("\4\0\x10"sv)},
        {"compressed-frame-claims-4gib",
         Tag(3,
             Frame("TXXX", Cat({B("\xFF\xFF\xFF\xFF"), Deflate(Bytes(1 << 20, 'A'))}), 3, 0x80))},
        {"compressed-frame-v24-claims-256mib",
         Tag(4, Frame("TIT2", Cat({B("\x7F\x7F\x7F\x7F"), Deflate(Bytes(1 << 20, 0))}), 4, 0x09))},
        {"compressed-meta-frame-v22",
         Tag(2,
             Frame22("CDM", Cat({B("z\xFF\xFF\xFF\xFF"),
                                 Deflate(Frame22("TT2", TextBody(std::string(1 << 20, 'z'))))})))},
        {"100000-zero-size-frames", Tag(3, zeroSizeFrames)},
    };
    for (const auto& [name, bytes] : files) {
        for (std::string_view target : {"mp3_load", "mp3_save"})
            inputs.push_back({target, name, bytes});
    }
}

}  // namespace

std::vector<NamedInput> ReadyMadeInputs() {
    std::vector<NamedInput> inputs;
    AddMp3Inputs(inputs);
    // Regex: options byte (1 case-sensitive, 2 multiline, 4 extended), pattern, zero, subject.
    const std::string hostileSubject = std::string(41, 'a') + "b";
    const std::pair<std::string, std::string> regexes[] = {
        {"named-groups", "\2(?P<artist>.*) - (?P<title>.*)\\.mp3\0Air - Playground.mp3"s},
        {"classes-and-counts", "\3^[A-Za-z_]\\w{2,5}(\\d+|[^x-z])?$\0ab_c42\nxyz"s},
        {"backreference", "\6(a|b)+ \\1 (?i)c\0abab b c"s},
        {"200-nested-groups", "\2" + Nested("(", "a", ")", 200) + '\0' + hostileSubject},
        {"200-nested-starred-groups",
         "\2" + Nested("(", "a*", ")*", 200) + "c\0"s + hostileSubject},
        {"5000-nested-plain-groups", "\2" + Nested("(?:", "a", ")", 5000) + '\0' + hostileSubject},
        {"5000-unclosed-groups", "\2" + Nested("(?:", "", "", 5000) + '\0' + hostileSubject},
        {"nested-counted-repeats", "\2((a{0,1000}){0,1000}){0,1000}\0"s + hostileSubject},
    };
    for (const auto& [name, bytes] : regexes)
        inputs.push_back({"regex", name, B(bytes)});
    const NamedInput texts[] = {
        // The expression, then zero-separated artist, album, title, track, year and genre.
        {"rename", "every-variable",
         B("%artist - %album - %track - %title (%year) %genre\0Air\0Moon Safari\0Playground\0"
           "5\0"
           "1998\0(17)"sv)},
        {"rename", "unknown-field", B("%artist %bogus")},
        {"csv", "quoted-cells",
         B("\xEF\xBB\xBFPath,Title\r\n\"/m/a.mp3\",\"say \"\"hi\"\", then\tgo\"\r\n"
           "\"/m/b.mp3\",\"two\nlines\"\n/m/c.mp3,=1+1")},
        {"settings", "every-type",
         B("Recurse = 1\nUse2.4 = 0\nEncoding = 2\nBrowseDir = \"/music\"\nCodePage = \"CP1252\"\n"
           "RegExps = [\"(.*)\", \"x\"]\nRenames = [\"%artist\"]\n\n[XML]\nV2Title = 1\n"
           "Structure0 = 3\n")},
        {"settings", "wrong-types",
         B("Recurse = \"yes\"\nEncoding = -1\nBrowseDir = 5\nXML = 4\n")},
        // Steps: open a child; a string attribute of 3 units, a number, a boolean; open a child;
        // a string of 2 units; close; a string holding a lone surrogate.
        {"xml_writer", "nested-attributes",
         B("\0\x1C"
           "A\0r\0t\0\2\3\0\x14<\0&\0\1\x14\0\xD8\t\0"sv)},
    };
    inputs.insert(inputs.end(), std::begin(texts), std::end(texts));
    return inputs;
}

}  // namespace velmora::fuzz
