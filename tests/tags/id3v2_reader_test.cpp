#include <gtest/gtest.h>
#include <zlib.h>

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

// A 2.4 compressed body: the synchsafe data-length indicator, then the zlib data.
Bytes CompressedBody(const Bytes& plain) {
    auto length = MakeSynchsafe32(static_cast<std::uint32_t>(plain.size()));
    return Cat({Bytes(length.begin(), length.end()), Deflate(plain)});
}

Bytes WithByte(Bytes bytes, std::size_t at, std::uint8_t value) {
    bytes.at(at) = value;
    return bytes;
}

const Bytes kTitle = Frame("TIT2", TextBody("Title"));
const Bytes kArtist = Frame("TPE1", TextBody("Artist"));
const std::string kLongText(200, 'x');  // a frame size whose synchsafe and plain forms differ
const Bytes kLong = TextBody(kLongText);
const Bytes kUnsynchronisedHi = {1, 0xFF, 0x00, 0xFE, 'H', 0, 'i', 0};  // BOM FF FE stuffed

// Read as a plain number, TIT2's synchsafe size 201 (00 00 01 49) is 329 and lands on the
// text "TPE1" inside TALB; only the whole walk tells the two readings apart.
Bytes SizeDecoy() {
    std::string album(300, 'x');
    album.replace(117, 10, std::string("TPE1\0\0\0\x05\0\0", 10));
    return Tag(4, Cat({Frame("TIT2", kLong, 4), Frame("TALB", TextBody(album), 4),
                       Frame("TPE1", TextBody("A"), 4)}));
}

struct WalkCase {
    const char* name;
    Bytes file;
    std::string frames;  // as Describe gives them
    friend void PrintTo(const WalkCase& c, std::ostream* out) { *out << c.name; }
};

std::vector<WalkCase> WalkCases() {
    return {
        {"PaddingEndsTheWalk", Tag(3, Cat({kTitle, kArtist}), 50), "TIT2=Title|TPE1=Artist"},
        {"UnknownIdsAreKept",
         Tag(3, Cat({kTitle, Frame("TDRC", TextBody("2004")), Frame("RVA2", B("xyz")), kArtist})),
         "TIT2=Title|TDRC=2004|RVA2|TPE1=Artist"},
        {"BadIdSkippedWhenItsSizeLandsOnAFrame",
         Tag(3, Cat({kTitle, Frame("ab$1", B("junk")), kArtist})), "TIT2=Title|TPE1=Artist"},
        {"BadIdEndsTheWalkWhenItsSizeLandsNowhere",
         Tag(3, Cat({kTitle, WithByte(Frame("ab$1", B("junk")), 7, 2), kArtist})), "TIT2=Title"},
        {"HugeFrameSizeIsDropped", Tag(3, Cat({kTitle, WithByte(kArtist, 4, 0xAB)})), "TIT2=Title"},
        {"ZeroSizeFrameKeptAndWalkGoesOn", Tag(3, Cat({Frame("TENC", {}), kTitle})),
         "TENC|TIT2=Title"},
        {"FrameTooShortForItsFlagsKeptAsBytes",
         Tag(4, Cat({Frame("TENC", {0}, 4, 0x01), Frame("TIT2", TextBody("T"), 4)})),
         "TENC|TIT2=T"},
        {"V24PlainSizesDecidedPerTag",
         Tag(4, Cat({Frame("TIT2", kLong, 4, 0, true), Frame("TPE1", TextBody("A"), 4, 0, true)}),
             30),
         "TIT2=" + kLongText + "|TPE1=A"},
        {"V24TextLookingLikeAnIdDoesNotFoolTheSizeChoice", SizeDecoy(),
         "TIT2=" + kLongText + "|TALB=" + std::string(117, 'x') + "TPE1|TPE1=A"},
        {"V24HeaderUnsynchronisationAppliesPerFrame",
         Tag(4, Cat({Frame("TIT2", kUnsynchronisedHi, 4), Frame("TPE1", TextBody("A"), 4)}), 0,
             0x80),
         "TIT2=Hi|TPE1=A"},
        {"ExtendedHeaderFlagWithoutExtendedHeader",
         Tag(4, Frame("TIT2", TextBody("T"), 4), 0, 0x40), "TIT2=T"},
        {"ExtendedHeaderLargerThanTheTag", Tag(3, Cat({{0, 0, 0x7F, 0}, kTitle}), 0, 0x40), ""},
        {"V24GroupByteAndDataLength",
         Tag(4, Frame("TIT2", Cat({{7}, CompressedBody(TextBody("Compressed"))}), 4, 0x49)),
         "TIT2=Compressed"},
        {"UnknownMajorVersionIsNoTag", Tag(5, kTitle), ""},
    };
}

class ReaderWalkTest : public ::testing::TestWithParam<WalkCase> {};

TEST_P(ReaderWalkTest, ReadsTheFramesItShould) {
    TestEngine engine;
    EXPECT_EQ(Describe(*ReadBytes(GetParam().file, engine).tag), GetParam().frames);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReaderWalkTest, ::testing::ValuesIn(WalkCases()),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(ReaderTest, TagOnDiskFacts) {
    TestEngine engine;
    Bytes file =
        Cat({Tag(4, Frame("TIT2", TextBody("T"), 4), 20, 0x10), B("3DI"), Bytes(7, 0), B("audio")});
    auto result = ReadBytes(file, engine);
    EXPECT_TRUE(result.onDisk.hasFooter);
    EXPECT_EQ(result.onDisk.declaredSize, 12u + 20u);       // TIT2 frame and padding
    EXPECT_EQ(result.onDisk.audioOffset, file.size() - 5);  // after the footer
    EXPECT_FALSE(ReadBytes(Cat({B("ID3"), Bytes(7, 0)}), engine).onDisk.present);
}

TEST(ReaderTest, TruncatedTagReadsWhatIsThereAndSaysSo) {
    TestEngine engine;
    Bytes file = Tag(3, Cat({kTitle, kArtist}), 1000);
    file.resize(10 + kTitle.size() + 5);
    auto result = ReadBytes(file, engine);
    EXPECT_TRUE(result.onDisk.truncated);
    EXPECT_EQ(Describe(*result.tag), "TIT2=Title");
}

TEST(ReaderTest, DecompressionBombIsKeptCompressed) {
    TestEngine engine;
    Bytes bomb = Frame("TIT2", CompressedBody(Cat({{0}, Bytes(2'000'000, 'a')})), 4, 0x09);
    auto result = ReadBytes(Tag(4, bomb), engine);
    EXPECT_EQ(Describe(*result.tag), "TIT2");
    EXPECT_EQ(SerializeTag(*result.tag, 4, Cp1252()), bomb);
}

TEST(ReaderTest, EncryptedFrameKeptWithMethodAndGroupInEitherLayout) {
    TestEngine engine;
    Bytes secret = B("\x01\x02\x03secret");
    // ID3v2.3 order: method byte, then group byte; ID3v2.4: group byte, then method byte.
    Bytes v23 = Frame("TIT2", Cat({{0x81, 0x22}, secret}), 3, 0x60);
    Bytes v24 = Frame("TIT2", Cat({{0x22, 0x81}, secret}), 4, 0x44);
    auto result = ReadBytes(Tag(3, v23), engine);
    EXPECT_EQ(SerializeTag(*result.tag, 3, Cp1252()), v23);
    EXPECT_EQ(SerializeTag(*result.tag, 4, Cp1252()), v24);
    auto again = ReadBytes(Tag(4, v24), engine);
    EXPECT_EQ(SerializeTag(*again.tag, 3, Cp1252()), v23);
}

}  // namespace
}  // namespace velmora
