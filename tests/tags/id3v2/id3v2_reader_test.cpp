#include <gtest/gtest.h>

#include "tags/Id3v2TestSupport.h"
#include "tags/id3v2/Id3v2Serializer.h"

namespace velmora {
namespace {

using namespace testing;

Bytes WithByte(Bytes bytes, std::size_t at, std::uint8_t value) {
    bytes.at(at) = value;
    return bytes;
}

const Bytes kTitle = Frame("TIT2", TextBody("Title"));
const Bytes kArtist = Frame("TPE1", TextBody("Artist"));
const std::string kLongText(200, 'x');  // a frame size whose synchsafe and plain forms differ
const Bytes kLong = TextBody(kLongText);

// Read as a plain number, TIT2's synchsafe size 201 (00 00 01 49) is 329 and lands on the
// text "TPE1" inside TALB; only the whole walk tells the two readings apart.
Bytes SizeDecoy() {
    std::string album(300, 'x');
    album.replace(117, 10, std::string("TPE1\0\0\0\x05\0\0", 10));
    return Tag(4, Cat({Frame("TIT2", kLong, 4), Frame("TALB", TextBody(album), 4),
                       Frame("TPE1", TextBody("A"), 4)}));
}

// A v2.4 tag with plain frame sizes around a 4660-byte cover (00 00 12 34, 2356 when read
// synchsafe) whose data holds a zero byte exactly where the synchsafe reading would end it.
Bytes PlainSizedCover() {
    Bytes jpeg = {0xFF, 0xD8, 0xFF, 0xE0};
    for (std::size_t i = 0; jpeg.size() < 4660 - 15; ++i)
        jpeg.push_back(static_cast<std::uint8_t>(1 + i * 7 % 250));
    Bytes body = Cat({{0}, B("image/jpeg"), {0, 3, 0}, jpeg});
    body.at(2356) = 0;
    return Tag(4,
               Cat({Frame("TIT2", TextBody("T"), 4, 0, true), Frame("APIC", body, 4, 0, true),
                    Frame("TPE1", TextBody("Artist"), 4, 0, true)}),
               100);
}

// Each file's frames as Describe gives them, and where its audio starts.
TEST(ReaderTest, ReadsTheFramesItShould) {
    const std::pair<Bytes, std::string> cases[] = {
        // Padding ends the walk; unknown IDs are kept.
        {Tag(3, Cat({kTitle, kArtist}), 50), "TIT2=Title|TPE1=Artist"},
        {Tag(3, Cat({kTitle, Frame("TDRC", TextBody("2004")), Frame("RVA2", B("xyz")), kArtist})),
         "TIT2=Title|TDRC=2004|RVA2|TPE1=Artist"},
        // A bad ID is skipped when its size lands on a frame, else it ends the walk.
        {Tag(3, Cat({kTitle, Frame("ab$1", B("junk")), kArtist})), "TIT2=Title|TPE1=Artist"},
        {Tag(3, Cat({kTitle, WithByte(Frame("ab$1", B("junk")), 7, 2), kArtist})), "TIT2=Title"},
        // A huge frame size is dropped (zero-sized frames: FramesKeptAsBytes...).
        {Tag(3, Cat({kTitle, WithByte(kArtist, 4, 0xAB)})), "TIT2=Title"},
        // A frame too short for its flags is kept as bytes.
        {Tag(4, Cat({Frame("TENC", {0}, 4, 0x01), Frame("TIT2", TextBody("T"), 4)})),
         "TENC|TIT2=T"},
        // ID3v2.4 plain sizes are decided per tag, not fooled by a zero byte in a cover.
        {Tag(4, Cat({Frame("TIT2", kLong, 4, 0, true), Frame("TPE1", TextBody("A"), 4, 0, true)}),
             30),
         "TIT2=" + kLongText + "|TPE1=A"},
        {PlainSizedCover(), "TIT2=T|APIC=|TPE1=Artist"},
        // A plain-sized TIT2 (00 00 00 C9, no synchsafe number) before synchsafe frames: the
        // plain reading swallows TPE1 into TALB and ends in the padding, the synchsafe one
        // fails at once; frame by frame all three line up.
        {Tag(4,
             Cat({Frame("TIT2", kLong, 4, 0, true), Frame("TALB", kLong, 4),
                  Frame("TPE1", TextBody("A"), 4)}),
             300),
         "TIT2=" + kLongText + "|TALB=" + kLongText + "|TPE1=A"},
        {SizeDecoy(), "TIT2=" + kLongText + "|TALB=" + std::string(117, 'x') + "TPE1|TPE1=A"},
        // An extended header flag without one, an extended header larger than the tag.
        {Tag(4, Frame("TIT2", TextBody("T"), 4), 0, 0x40), "TIT2=T"},
        {Tag(3, Cat({{0, 0, 0x7F, 0}, kTitle}), 0, 0x40), ""},
        // ID3v2.4 group byte and data length.
        {Tag(4, Frame("TIT2", Cat({{7}, Compressed(TextBody("Compressed"), 4)}), 4, 0x49)),
         "TIT2=Compressed"},
        // An unknown major version, an identifier other than "ID3": no tag.
        {Tag(5, kTitle), ""},
        {WithByte(Tag(3, kTitle), 2, '2'), ""},
    };
    TestEngine engine;
    for (const auto& c : cases)
        EXPECT_EQ(Describe(*ReadBytes(c.first, engine).tag), c.second) << &c - cases;
    // An ID3v2.4 footer puts the audio ten bytes later.
    const Bytes footed = Tag(4, Frame("TIT2", TextBody("T"), 4), 20, 0x10);
    EXPECT_EQ(ReadBytes(footed, engine).onDisk.audioOffset, 52u);
}

// Bodies the reader keeps as bytes go back as they came: a decompression bomb still
// compressed (in the form of either version), an encrypted frame with its method and group bytes in
// the order of the version written (ID3v2.3: method, group; ID3v2.4: group, method). So does a
// frame whose fields would write other bytes (big-endian UTF-16 without a mark, written with one)
// while it is unedited. Empty frames are forbidden, and a reader that stops at the first one would
// miss the rest.
TEST(ReaderTest, FramesKeptAsBytesAreWrittenBackAsTheyCame) {
    const Bytes bombText = Cat({{0}, Bytes(2'000'000, 'a')});
    const Bytes bomb = Frame("TIT2", Compressed(bombText, 4), 4, 0x09);
    const Bytes secret = B("\x01\x02\x03secret");
    const Bytes v23 = Frame("TIT2", Cat({{0x81, 0x22}, secret}), 3, 0x60);
    const Bytes v24 = Frame("TIT2", Cat({{0x22, 0x81}, secret}), 4, 0x44);
    const Bytes unmarked = {1, 0, 0xC4, 0, 'r'};
    const Bytes empties = Cat({Frame("TENC", {}), kTitle, Frame("WOAS", {})});
    const std::tuple<Bytes, std::uint8_t, std::uint8_t, Bytes, const char*> rows[] = {
        {bomb, 4, 4, bomb, "TIT2"},
        {bomb, 4, 3, Frame("TIT2", Compressed(bombText, 3), 3, 0x80), "TIT2"},
        {v23, 3, 3, v23, "TIT2"},
        {v23, 3, 4, v24, "TIT2"},
        {v24, 4, 3, v23, "TIT2"},
        {Frame("TPE1", unmarked), 3, 4, Frame("TPE1", unmarked, 4), "TPE1=\xC3\x84r"},
        {empties, 3, 3, kTitle, "TENC|TIT2=Title|WOAS"}};
    for (const auto& [frame, from, to, expected, frames] : rows) {
        TestEngine engine;
        auto result = ReadBytes(Tag(from, frame), engine);
        EXPECT_EQ(Describe(*result.tag), frames);
        EXPECT_EQ(SerializeTag(*result.tag, to, Cp1252()), expected) << frames;
    }
}

}  // namespace
}  // namespace velmora
