#include <gtest/gtest.h>

#include <map>
#include <set>

#include "tags/Id3v2TestSupport.h"
#include "tags/id3v2/FrameBodyReaders.h"
#include "tags/id3v2/FrameFieldTypes.h"
#include "tags/id3v2/FrameLayouts.h"
#include "tags/id3v2/FrameParts.h"
#include "tags/id3v2/Id3v2Serializer.h"

namespace velmora {
namespace {

using namespace testing;

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
        {"V24PlainSizesNotFooledByAZeroByteInACover", PlainSizedCover(),
         "TIT2=T|APIC=|TPE1=Artist"},
        // A plain-sized TIT2 (00 00 00 C9, no synchsafe number) before synchsafe frames: the
        // plain reading swallows TPE1 into TALB and ends in the padding, the synchsafe one
        // fails at once; frame by frame all three line up.
        {"V24SizesOfBothWritersDecidedPerFrame",
         Tag(4,
             Cat({Frame("TIT2", kLong, 4, 0, true), Frame("TALB", kLong, 4),
                  Frame("TPE1", TextBody("A"), 4)}),
             300),
         "TIT2=" + kLongText + "|TALB=" + kLongText + "|TPE1=A"},
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
        {"IdentifierOtherThanId3IsNoTag", WithByte(Tag(3, kTitle), 2, '2'), ""},
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
    EXPECT_FALSE(ReadBytes(Tag(3, kTitle, 0, 0x10), engine).onDisk.hasFooter);  // 2.4 only
    // A truncated tag reads what is there and says so.
    file = Tag(3, Cat({kTitle, kArtist}), 1000);
    file.resize(10 + kTitle.size() + 5);
    result = ReadBytes(file, engine);
    EXPECT_TRUE(result.onDisk.truncated);
    EXPECT_EQ(Describe(*result.tag), "TIT2=Title");
}

// A frame whose fields would write other bytes (here big-endian UTF-16 without a mark, which
// is written with one) goes back as it was read until its text changes, in either version.
TEST(ReaderTest, UneditedFrameWrittenBackByteForByte) {
    const Bytes artist = Frame("TPE1", Bytes{1, 0, 0xC4, 0, 'r'});
    for (std::uint8_t version : {3, 4}) {
        TestEngine engine;
        auto read = ReadBytes(Tag(3, Cat({artist, kTitle})), engine);
        SetFrameText(*read.tag, FrameId("TIT2"), u"New", engine.context);
        SetFrameText(*read.tag, FrameId("TPE1"), u"\u00C4r", engine.context);  // the same text
        Bytes frames = SerializeTag(*read.tag, version, Cp1252());
        EXPECT_TRUE(std::search(frames.begin(), frames.end(), artist.begin() + 10, artist.end()) !=
                    frames.end())
            << int(version);
        SetFrameText(*read.tag, FrameId("TPE1"), u"\u00C4rt", engine.context);
        frames = SerializeTag(*read.tag, version, Cp1252());
        EXPECT_EQ(Bytes(frames.begin() + 10, frames.begin() + 19), Cat({{1}, Utf16(u"\u00C4rt")}));
    }
}

// Bodies the reader keeps as bytes go back as they came: a decompression bomb still
// compressed, an encrypted frame with its method and group bytes in the order of the version
// written (ID3v2.3: method, group; ID3v2.4: group, method).
TEST(ReaderTest, FramesKeptAsBytesAreWrittenBackAsTheyCame) {
    const Bytes bomb = Frame("TIT2", CompressedBody(Cat({{0}, Bytes(2'000'000, 'a')})), 4, 0x09);
    const Bytes secret = B("\x01\x02\x03secret");
    const Bytes v23 = Frame("TIT2", Cat({{0x81, 0x22}, secret}), 3, 0x60);
    const Bytes v24 = Frame("TIT2", Cat({{0x22, 0x81}, secret}), 4, 0x44);
    const std::tuple<Bytes, std::uint8_t, std::uint8_t, Bytes> rows[] = {
        {bomb, 4, 4, bomb}, {v23, 3, 3, v23}, {v23, 3, 4, v24}, {v24, 4, 3, v23}};
    for (std::size_t row = 0; row < std::size(rows); ++row) {
        const auto& [frame, from, to, expected] = rows[row];
        TestEngine engine;
        auto result = ReadBytes(Tag(from, frame), engine);
        EXPECT_EQ(Describe(*result.tag), "TIT2") << row;
        EXPECT_EQ(SerializeTag(*result.tag, to, Cp1252()), expected) << row;
    }
}

// One row per frame kind and body: the fields the reader makes of the body, their texts, and
// whether a save gives the same bytes back.
struct LayoutCase {
    const char* name;
    const char* id;
    Bytes body;
    std::string kinds;  // one letter per field, see KindLetters
    std::string texts;  // every Text/NarrowString field, then "+" and each later value
    bool sameBytesBack = true;
    friend void PrintTo(const LayoutCase& c, std::ostream* out) { *out << c.name; }
};

std::string KindLetters(const Id3v2Frame& frame) {
    std::string letters;
    for (std::size_t i = 0; i < frame.FieldCount(); ++i)
        letters += "NTEBZzRL"[static_cast<int>(frame.FieldAt(i)->Kind())];
    return letters;
}

std::string FieldTexts(const Id3v2Frame& frame) {
    std::string texts;
    for (std::size_t i = 0; i < frame.FieldCount(); ++i) {
        const FrameField* field = frame.FieldAt(i);
        if (field->Kind() == FieldKind::Text || field->Kind() == FieldKind::NarrowString)
            texts += (texts.empty() ? "" : "|") + text::ToUtf8(field->GetText(Cp1252()));
        if (field->Kind() == FieldKind::LaterValues) {
            for (const auto& value : static_cast<const LaterValuesField*>(field)->Values())
                texts += "+" + text::ToUtf8(value);
        }
    }
    return texts;
}

std::vector<LayoutCase> Cases() {
    const Bytes comment = Cat({{1}, B("ENG"), Utf16(u"d"), {0, 0}, Utf16(u"hello")});
    return {
        {"TextLatin1", "TIT2", TextBody("Caf\xE9"), "ET", "Caf\xC3\xA9"},
        {"TextUtf16Bom", "TIT2", Cat({{1}, Utf16(u"AB")}), "ET", "AB"},
        {"TextUtf16BigEndianBom", "TIT2", Bytes{1, 0xFE, 0xFF, 0, 'A', 0, 'B'}, "ET", "AB", false},
        {"TextUtf16NoBomIsLittleEndian", "TIT2", Bytes{1, 'A', 0, 'B', 0}, "ET", "AB", false},
        {"TextEncoding2IsBigEndian", "TIT2", Bytes{2, 0x00, 0x41}, "ET", "A"},
        // Without a mark the text shows its byte order: zero high bytes, else plausibility.
        {"TextUtf16NoBomBigEndianByItsZeros", "TPE1", Bytes{1, 0, 0xC4, 0, 'r'}, "ET", "\xC3\x84r",
         false},
        // Encoding 2 is big-endian whatever its zeros say.
        {"TextEncoding2BigEndianWhateverItsZeros", "TPE1", Bytes{2, 0xC4, 0, 'r', 0}, "ET",
         "\xEC\x90\x80\xE7\x88\x80"},
        {"TextUtf16NoBomCjkLittleEndian", "TPE1", Bytes{1, 0xE5, 0x65}, "ET", "\xE6\x97\xA5",
         false},
        {"TextEncoding2CjkBigEndian", "TPE1", Bytes{2, 0x65, 0xE5}, "ET", "\xE6\x97\xA5"},
        // Encoding 2 has no mark: FE FF is U+FEFF and must be written back.
        {"TextEncoding2LeadingFeFfIsText", "TPE1", Bytes{2, 0xFE, 0xFF, 0x00, 0x41}, "ET",
         "\xEF\xBB\xBF\x41"},
        {"TextUtf8", "TIT2", Bytes{3, 0xC3, 0xA9}, "ET", "\xC3\xA9"},
        {"TextUtf8Rejected", "TIT2", Bytes{3, 0xF8, 0x80}, "R", ""},
        {"TextEncoding4", "TIT2", Bytes{4, 'a'}, "R", ""},
        {"TextUtf16TooShortForBom", "TIT2", Bytes{1}, "R", ""},
        {"TextLaterValues", "TPE1", Cat({TextBody("a"), {0}, B("b"), {0}, B("c")}), "ETL", "a+b+c"},
        {"TextUtf16LaterValues", "TPE1", Cat({{1}, Utf16(u"a"), {0, 0}, Utf16(u"b")}), "ETL",
         "a+b"},
        {"TextTrailingTerminatorIsNoValue", "TIT2", Cat({{1}, Utf16(u"test"), {0, 0}}), "ET",
         "test", false},
        {"UnknownTextId", "TDRC", TextBody("2004-05-06"), "ET", "2004-05-06"},
        {"UserText", "TXXX", Cat({TextBody("desc"), {0}, B("value")}), "ETZT", "desc|value"},
        {"UserTextWithoutTerminator", "TXXX", TextBody("desc"), "R", ""},
        {"UnknownUrlId", "WFOO", B("http://x"), "N", "http://x"},
        {"UrlWithJunkAfterZero", "WCOM", Cat({B("http://x"), {0}, B("junk")}), "R", ""},
        {"UserUrl", "WXXX", Cat({TextBody("d"), {0}, B("http://u")}), "ETZN", "d|http://u"},
        {"Comment", "COMM", comment, "ENTZT", "ENG|d|hello"},
        {"CommentLanguageWithZero", "COMM", Cat({{0}, B("en"), {0}, {0}, B("x")}), "ENTZT",
         "en||x"},
        {"CommentWithoutDescriptionTerminator", "COMM", Cat({{0}, B("eng"), B("No Comment")}), "R",
         ""},
        {"Picture", "APIC", Cat({{0}, B("image/png"), {0}, {3}, B("cover"), {0}, B("\x89PNG")}),
         "ENzBTZB", "image/png|cover"},
        {"PictureEncoding4", "APIC", Cat({{4}, B("image/png"), {0}, {3}, {0}, B("data")}), "R", ""},
        {"RawUnknownId", "RVA2", Cat({B("owner"), {0}, B("data")}), "R", ""},
    };
}

class LayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(LayoutTest, ReadsAndWritesTheBody) {
    const auto& c = GetParam();
    Id3v2Frame frame(FrameId::FromChars(c.id));
    ReadFrameBody(frame, c.body, BodyReadContext{Cp1252(), {}});
    EXPECT_EQ(KindLetters(frame), c.kinds);
    EXPECT_EQ(FieldTexts(frame), c.texts);
    Bytes written = SerializeFrameBody(frame, 4, Cp1252());
    if (c.sameBytesBack) {
        EXPECT_EQ(written, c.body);
    }
    // Whatever the reader made of it, reading the written body again gives the same fields.
    Id3v2Frame again(frame.Id());
    ReadFrameBody(again, written, BodyReadContext{Cp1252(), {}});
    EXPECT_EQ(FieldTexts(again), c.texts);
}

INSTANTIATE_TEST_SUITE_P(Bodies, LayoutTest, ::testing::ValuesIn(Cases()),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(LayoutTableTest, EveryFrameKindHasATestRow) {
    std::set<FrameKind> tested;
    for (const auto& c : Cases())
        tested.insert(FrameKindOf(FrameId::FromChars(c.id)));
    for (const auto& layout : kFrameLayouts)
        EXPECT_TRUE(tested.count(layout.kind))
            << "no test row for the " << layout.name << " layout";
}

// Every layout builds from named values into fields that write and read back the same, and
// each named part is found holding its value; a body kept raw has no parts to find.
TEST(LayoutTableTest, BuildsEveryLayoutAndFindsEachPartByName) {
    const std::map<FrameKind, const char*> idOf = {
        {FrameKind::Text, "TIT2"},    {FrameKind::UserText, "TXXX"}, {FrameKind::Url, "WOAR"},
        {FrameKind::UserUrl, "WXXX"}, {FrameKind::Comment, "COMM"},  {FrameKind::Picture, "APIC"},
        {FrameKind::Raw, "PRIV"}};
    const std::map<PartName, std::string> expected = {
        {PartName::Encoding, "\x01"},  {PartName::Language, "deu"},
        {PartName::Mime, "image/png"}, {PartName::PictureType, "\x03"},
        {PartName::Description, "d"},  {PartName::Text, "t"},
        {PartName::Url, "http://u"},   {PartName::Data, "\x89PNG"}};
    const Bytes data = B(expected.at(PartName::Data));
    for (const auto& layout : kFrameLayouts) {
        auto built = BuildFrame(FrameId::FromChars(idOf.at(layout.kind)), EncodingPolicy{},
                                {{PartName::Encoding, std::uint8_t{1}},
                                 {PartName::Language, "deu"},
                                 {PartName::Mime, "image/png"},
                                 {PartName::PictureType, std::uint8_t{3}},
                                 {PartName::Description, u"d"},
                                 {PartName::Text, u"t"},
                                 {PartName::Url, "http://u"},
                                 {PartName::Data, std::span<const std::uint8_t>(data)}});
        Id3v2Frame read(built->Id());
        ReadFrameBody(read, SerializeFrameBody(*built, 4, Cp1252()), BodyReadContext{Cp1252(), {}});
        EXPECT_EQ(KindLetters(read), KindLetters(*built)) << layout.name;
        for (std::size_t i = 0; i < layout.partCount; ++i) {
            const PartName name = layout.parts[i].name;
            const FrameField* part = FindPart(read, name);
            ASSERT_TRUE(part) << layout.name << " part " << i;
            const std::string value = part->Kind() == FieldKind::Text
                                          ? text::ToUtf8(part->GetText(Cp1252()))
                                          : std::string(part->Bytes().begin(), part->Bytes().end());
            EXPECT_EQ(value, expected.at(name)) << layout.name << " part " << i;
        }
        Id3v2Frame raw(built->Id());
        ReadRawBody(raw, data);
        EXPECT_EQ(FindPart(raw, layout.parts[0].name) != nullptr, layout.kind == FrameKind::Raw);
    }
}

// A stored encoding the written version lacks, or that cannot carry the text, becomes UTF-16.
TEST(SerializerTest, ChoosesTheEncodingWrittenAndTheTextReadsBack) {
    const std::tuple<std::uint8_t, std::u16string, std::uint8_t, std::uint8_t> rows[] = {
        {0, u"Caf\u00E9", 3, 0}, {0, u"\u65E5", 3, 1},  // not in CP1252
        {2, u"x\u00E9", 4, 2},   {2, u"x", 3, 1},      {3, u"\u65E5", 4, 3}, {3, u"\u65E5", 3, 1}};
    for (const auto& [stored, text, version, written] : rows) {
        Id3v2Tag tag;
        Id3v2Frame& frame = AppendFrame(tag, std::make_unique<Id3v2Frame>(FrameId("TIT2")));
        frame.PushField(std::make_unique<EncodingField>(stored, stored));
        frame.PushField(std::make_unique<TextField>(text));
        const Bytes frames = SerializeTag(tag, version, Cp1252());
        EXPECT_EQ(frames.at(10), written) << int(stored) << " in 2." << int(version);
        TestEngine engine;
        EXPECT_EQ(TextOf(*ReadBytes(Tag(version, frames), engine).tag, "TIT2"), text::ToUtf8(text));
    }
}

// Empty frames are forbidden, and a reader that stops at the first one would miss the rest.
TEST(SerializerTest, DropsFramesWithAnEmptyBody) {
    TestEngine engine;
    auto read = ReadBytes(Tag(3, Cat({Frame("TENC", {}), kTitle, Frame("WOAS", {})})), engine);
    ASSERT_EQ(Describe(*read.tag), "TENC|TIT2=Title|WOAS");
    EXPECT_EQ(SerializeTag(*read.tag, 3, Cp1252()), kTitle);
}

}  // namespace
}  // namespace velmora
