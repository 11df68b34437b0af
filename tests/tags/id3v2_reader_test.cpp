#include <gtest/gtest.h>
#include <zlib.h>

#include <functional>

#include "Id3v2TestSupport.h"
#include "tags/FrameFieldTypes.h"
#include "tags/Id3v2Serializer.h"

namespace velmora {
namespace {

using namespace testing;

Bytes Deflate(const Bytes& plain) {
    uLongf size = compressBound(plain.size());
    Bytes out(size);
    compress(out.data(), &size, plain.data(), plain.size());
    out.resize(size);
    return out;
}

Bytes Unsynchronise(const Bytes& in) {
    Bytes out;
    for (std::size_t i = 0; i < in.size(); ++i) {
        out.push_back(in[i]);
        if (in[i] == 0xFF && (i + 1 == in.size() || in[i + 1] == 0 || (in[i + 1] & 0xE0) == 0xE0))
            out.push_back(0);
    }
    return out;
}

struct WalkCase {
    const char* name;
    std::function<Bytes()> file;
    std::vector<std::string> ids;
    std::vector<std::pair<const char*, std::string>> texts;
};

class ReaderWalkTest : public ::testing::TestWithParam<WalkCase> {};

TEST_P(ReaderWalkTest, ReadsTheFramesItShould) {
    TestEngine engine;
    auto result = ReadBytes(GetParam().file(), engine);
    EXPECT_EQ(FrameIds(*result.tag), GetParam().ids);
    for (const auto& [id, text] : GetParam().texts)
        EXPECT_EQ(TextOf(*result.tag, id), text) << id;
}

const Bytes kTitle = Frame("TIT2", TextBody("Title"));
const Bytes kArtist = Frame("TPE1", TextBody("Artist"));
const Bytes kLong = TextBody(std::string(200, 'x'));  // synchsafe 200 differs from plain 200

INSTANTIATE_TEST_SUITE_P(
    Cases, ReaderWalkTest,
    ::testing::Values(
        WalkCase{"PaddingEndsTheWalk",
                 [] {
                     return Tag(3, Cat({kTitle, kArtist}), 50);
                 },
                 {"TIT2", "TPE1"},
                 {{"TIT2", "Title"}, {"TPE1", "Artist"}}},
        WalkCase{"UnknownIdsAreKept",
                 [] {
                     return Tag(
                         3, Cat({kTitle, Frame("TDRC", TextBody("2004")), Frame("RVA2", B("xyz")),
                                 Frame("WFOO", B("http://a")), kArtist}));
                 },
                 {"TIT2", "TDRC", "RVA2", "WFOO", "TPE1"},
                 {{"TDRC", "2004"}, {"TPE1", "Artist"}}},
        WalkCase{"BadIdSkippedWhenItsSizeLandsOnAFrame",
                 [] {
                     return Tag(3, Cat({kTitle, Frame("ab$1", B("junk")), kArtist}));
                 },
                 {"TIT2", "TPE1"},
                 {}},
        WalkCase{"BadIdEndsTheWalkWhenItsSizeLandsNowhere",
                 [] {
                     Bytes bad = Frame("ab$1", B("junk"));
                     bad[7] = 2;  // size 2: lands inside "junk"
                     return Tag(3, Cat({kTitle, bad, kArtist}));
                 },
                 {"TIT2"},
                 {}},
        WalkCase{"FrameRunningPastTheEndIsDropped",
                 [] {
                     Bytes cut = Frame("TPE1", TextBody("Artist"));
                     cut[7] = 100;
                     return Tag(3, Cat({kTitle, cut}));
                 },
                 {"TIT2"},
                 {}},
        WalkCase{"ZeroSizeFrameKeptAndWalkGoesOn",
                 [] {
                     return Tag(3, Cat({Frame("TENC", {}), kTitle}));
                 },
                 {"TENC", "TIT2"},
                 {{"TENC", "<none>"}}},
        WalkCase{"V24SynchsafeSizes",
                 [] {
                     return Tag(4, Cat({Frame("TIT2", kLong, 4), Frame("TPE1", TextBody("A"), 4)}));
                 },
                 {"TIT2", "TPE1"},
                 {{"TPE1", "A"}}},
        WalkCase{"V24PlainSizesDecidedPerTag",
                 [] {
                     return Tag(4,
                                Cat({Frame("TIT2", kLong, 4, 0, true),
                                     Frame("TPE1", TextBody("A"), 4, 0, true)}),
                                30);
                 },
                 {"TIT2", "TPE1"},
                 {{"TPE1", "A"}}},
        WalkCase{"V24TextLookingLikeAnIdDoesNotFoolTheSizeChoice",
                 [] {
                     // Read as a plain number, TIT2's synchsafe size 201 (00 00 01 49) is 329
                     // and lands on the text "TPE1" inside TALB; the whole walk still fails.
                     std::string album(300, 'x');
                     album.replace(117, 10, std::string("TPE1\0\0\0\x05\0\0", 10));
                     return Tag(4, Cat({Frame("TIT2", kLong, 4), Frame("TALB", TextBody(album), 4),
                                        Frame("TPE1", TextBody("A"), 4)}));
                 },
                 {"TIT2", "TALB", "TPE1"},
                 {{"TPE1", "A"}}},
        WalkCase{"V23TagUnsynchronisation",
                 [] {
                     Bytes body = Cat({Frame("TIT2", Cat({{1}, Utf16LE(u"\u00FFAB")})), kArtist});
                     return Tag(3, Unsynchronise(body), 0, 0x80);
                 },
                 {"TIT2", "TPE1"},
                 {{"TIT2",
                   "\xC3\xBF"
                   "AB"},
                  {"TPE1", "Artist"}}},
        WalkCase{"V24FrameUnsynchronisation",
                 [] {
                     Bytes body = Unsynchronise(Cat({{1}, Utf16LE(u"Hi")}));
                     return Tag(4, Frame("TIT2", body, 4, 0x02));
                 },
                 {"TIT2"},
                 {{"TIT2", "Hi"}}},
        WalkCase{"V24HeaderUnsynchronisationAppliesPerFrame",
                 [] {
                     Bytes body = Unsynchronise(Cat({{1}, Utf16LE(u"Hi")}));
                     return Tag(4, Cat({Frame("TIT2", body, 4), Frame("TPE1", TextBody("A"), 4)}),
                                0, 0x80);
                 },
                 {"TIT2", "TPE1"},
                 {{"TIT2", "Hi"}}},
        WalkCase{"V23ExtendedHeaderSizeExcludesItself",
                 [] {
                     return Tag(3, Cat({{0, 0, 0, 6, 0, 0, 0, 0, 0, 0}, kTitle}), 0, 0x40);
                 },
                 {"TIT2"},
                 {{"TIT2", "Title"}}},
        WalkCase{
            "V24ExtendedHeaderSizeIncludesItself",
            [] {
                return Tag(4, Cat({{0, 0, 0, 6, 1, 0}, Frame("TIT2", TextBody("T"), 4)}), 0, 0x40);
            },
            {"TIT2"},
            {{"TIT2", "T"}}},
        WalkCase{"ExtendedHeaderFlagWithoutExtendedHeader",
                 [] { return Tag(4, Frame("TIT2", TextBody("T"), 4), 0, 0x40); },
                 {"TIT2"},
                 {{"TIT2", "T"}}},
        WalkCase{"ExtendedHeaderLargerThanTheTag",
                 [] {
                     return Tag(3, Cat({{0, 0, 0x7F, 0}, kTitle}), 0, 0x40);
                 },
                 {},
                 {}},
        WalkCase{"CompressedV23FrameIsInflated",
                 [] {
                     Bytes plain = TextBody("Compressed title");
                     Bytes body = Cat({MakeBigEndian32Bytes(plain.size()), Deflate(plain)});
                     return Tag(3, Cat({Frame("TIT2", body, 3, 0x80), kArtist}));
                 },
                 {"TIT2", "TPE1"},
                 {{"TIT2", "Compressed title"}}},
        WalkCase{"CompressedV24FrameWithDataLength",
                 [] {
                     Bytes plain = TextBody("Compressed");
                     auto dli = MakeSynchsafe32(static_cast<std::uint32_t>(plain.size()));
                     Bytes body = Cat({Bytes(dli.begin(), dli.end()), Deflate(plain)});
                     return Tag(4, Frame("TIT2", body, 4, 0x09));
                 },
                 {"TIT2"},
                 {{"TIT2", "Compressed"}}},
        WalkCase{"V24GroupByteSkipped",
                 [] {
                     return Tag(4, Frame("TIT2", Cat({{7}, TextBody("Grouped")}), 4, 0x40));
                 },
                 {"TIT2"},
                 {{"TIT2", "Grouped"}}},
        WalkCase{"V22FramesConverted",
                 [] {
                     return Tag(
                         2, Cat({Frame22("TT2", TextBody("Title")), Frame22("TP1", TextBody("A")),
                                 Frame22("TYE", TextBody("2004")), Frame22("ZZZ", B("x")),
                                 Frame22("COM", Cat({{0}, B("eng"), {0}, B("hello")}))}));
                 },
                 {"TIT2", "TPE1", "TYER", "COMM"},
                 {{"TIT2", "Title"}, {"TYER", "2004"}}},
        WalkCase{"V22CompressedMetaFrame",
                 [] {
                     Bytes inner = Frame22("TT2", TextBody("Inside"));
                     Bytes body = Cat({B("z"), MakeBigEndian32Bytes(inner.size()), Deflate(inner)});
                     return Tag(2, Frame22("CDM", body));
                 },
                 {"TIT2"},
                 {{"TIT2", "Inside"}}},
        WalkCase{"UnknownMajorVersionIsNoTag", [] { return Tag(5, kTitle); }, {}, {}}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(ReaderTest, TagOnDiskFacts) {
    TestEngine engine;
    Bytes file =
        Cat({Tag(4, Frame("TIT2", TextBody("T"), 4), 20, 0x10), B("3DI"), Bytes(7, 0), B("audio")});
    auto result = ReadBytes(file, engine);
    EXPECT_TRUE(result.onDisk.present);
    EXPECT_EQ(result.onDisk.majorVersion, 4);
    EXPECT_TRUE(result.onDisk.hasFooter);
    EXPECT_EQ(result.onDisk.declaredSize, 12u + 20u);  // TIT2 frame and padding
    EXPECT_EQ(result.onDisk.audioOffset, file.size() - 5);
    EXPECT_FALSE(result.onDisk.truncated);
}

TEST(ReaderTest, TruncatedTagReadsWhatIsThereAndSaysSo) {
    TestEngine engine;
    Bytes file = Tag(3, Cat({kTitle, kArtist}), 1000);
    file.resize(10 + kTitle.size() + 5);
    auto result = ReadBytes(file, engine);
    EXPECT_TRUE(result.onDisk.truncated);
    EXPECT_EQ(FrameIds(*result.tag), std::vector<std::string>{"TIT2"});
}

TEST(ReaderTest, HugeSizesNeverReadOutsideTheBytes) {
    TestEngine engine;
    Bytes frame = Frame("TXXX", B("x"));
    frame[4] = 0xAB, frame[5] = 0xAB, frame[6] = 0xAB, frame[7] = 0xAB;
    Bytes file = Tag(3, Cat({kTitle, frame}));
    auto result = ReadBytes(file, engine);
    EXPECT_EQ(FrameIds(*result.tag), std::vector<std::string>{"TIT2"});
}

TEST(ReaderTest, TinyFilesHaveNoTag) {
    TestEngine engine;
    EXPECT_FALSE(ReadBytes(Cat({B("ID3"), Bytes(7, 0)}), engine).onDisk.present);
    auto eleven = ReadBytes(Tag(3, Bytes{0}), engine);
    EXPECT_TRUE(eleven.onDisk.present);
    EXPECT_TRUE(eleven.tag->Frames().empty());
}

TEST(ReaderTest, DecompressionBombIsKeptCompressed) {
    TestEngine engine;
    Bytes plain = Cat({{0}, Bytes(2'000'000, 'a')});  // ratio far above 1000
    Bytes compressed = Deflate(plain);
    Bytes body = Cat({MakeBigEndian32Bytes(plain.size()), compressed});
    auto result = ReadBytes(Tag(3, Frame("TIT2", body, 3, 0x80)), engine);
    ASSERT_EQ(result.tag->Frames().size(), 1u);
    const auto& frame = *result.tag->Frames()[0];
    EXPECT_TRUE(frame.BodyForm().compressed);
    EXPECT_EQ(frame.BodyForm().dataLength, plain.size());
    ASSERT_EQ(frame.FieldCount(), 1u);
    EXPECT_EQ(frame.FieldAt(0)->Kind(), FieldKind::RawBody);
    EXPECT_EQ(frame.FieldAt(0)->CopyBytes(), compressed);
}

TEST(ReaderTest, EncryptedFrameKeptWithMethodAndGroupInEitherLayout) {
    TestEngine engine;
    Bytes secret = B("\x01\x02\x03secret");
    // ID3v2.3 order: method byte, then group byte.
    auto result = ReadBytes(Tag(3, Frame("TIT2", Cat({{0x81, 0x22}, secret}), 3, 0x60)), engine);
    ASSERT_EQ(result.tag->Frames().size(), 1u);
    const auto& frame = *result.tag->Frames()[0];
    EXPECT_EQ(frame.BodyForm().encryptionMethod, 0x81);
    EXPECT_EQ(frame.GroupId(), 0x22);
    EXPECT_EQ(frame.FieldAt(0)->CopyBytes(), secret);

    Bytes v23 = SerializeTag(*result.tag, 3, Cp1252());
    EXPECT_EQ(v23, Frame("TIT2", Cat({{0x81, 0x22}, secret}), 3, 0x60));
    // ID3v2.4 order: group byte, then method byte.
    Bytes v24 = SerializeTag(*result.tag, 4, Cp1252());
    EXPECT_EQ(v24, Frame("TIT2", Cat({{0x22, 0x81}, secret}), 4, 0x44));
    auto again = ReadBytes(Tag(4, v24), engine);
    EXPECT_EQ(SerializeTag(*again.tag, 3, Cp1252()), v23);
}

TEST(ReaderTest, FrameTooShortForItsFlagsIsKeptAsBytes) {
    TestEngine engine;
    auto result = ReadBytes(
        Tag(4, Cat({Frame("TENC", {0}, 4, 0x01), Frame("TIT2", TextBody("T"), 4)})), engine);
    EXPECT_EQ(FrameIds(*result.tag), (std::vector<std::string>{"TENC", "TIT2"}));
    EXPECT_EQ(result.tag->Frames()[0]->FieldAt(0)->Kind(), FieldKind::RawBody);
}

}  // namespace
}  // namespace velmora
