#include <gtest/gtest.h>

#include <set>

#include "Id3v2TestSupport.h"
#include "tags/FrameBodyReaders.h"
#include "tags/FrameFieldTypes.h"
#include "tags/FrameLayouts.h"
#include "tags/Id3v2Serializer.h"

namespace velmora {
namespace {

using namespace testing;

// One row per frame kind and body: what the reader makes of the body, and that a save
// gives the same bytes back.
struct LayoutCase {
    const char* name;
    const char* id;
    Bytes body;
    std::vector<FieldKind> kinds;
    std::vector<std::string> texts;  // GetText of every Text/NarrowString field, in order
    bool sameBytesBack = true;
};

std::vector<std::string> FieldTexts(const Id3v2Frame& frame) {
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < frame.FieldCount(); ++i) {
        auto kind = frame.FieldAt(i)->Kind();
        if (kind == FieldKind::Text || kind == FieldKind::NarrowString)
            texts.push_back(text::ToUtf8(frame.FieldAt(i)->GetText(Cp1252())));
        if (kind == FieldKind::LaterValues) {
            for (const auto& value :
                 static_cast<const LaterValuesField*>(frame.FieldAt(i))->Values())
                texts.push_back("+" + text::ToUtf8(value));
        }
    }
    return texts;
}

using K = FieldKind;
const std::vector<FieldKind> kTextKinds = {K::Encoding, K::Text};
const std::vector<FieldKind> kRaw = {K::RawBody};

std::vector<LayoutCase> Cases() {
    return {
        {"TextLatin1", "TIT2", TextBody("Caf\xE9"), kTextKinds, {"Caf\xC3\xA9"}},
        {"TextUtf16Bom", "TIT2", Cat({{1}, Utf16LE(u"AB")}), kTextKinds, {"AB"}},
        {"TextUtf16BigEndianBom",
         "TIT2",
         Cat({{1}, Utf16BE(u"AB", true)}),
         kTextKinds,
         {"AB"},
         false},
        {"TextUtf16NoBomIsLittleEndian",
         "TIT2",
         Cat({{1}, Utf16LE(u"AB", false)}),
         kTextKinds,
         {"AB"},
         false},
        {"TextEncoding2IsBigEndian", "TIT2", Bytes{2, 0x00, 0x41}, kTextKinds, {"A"}},
        {"TextUtf8", "TIT2", Bytes{3, 0xC3, 0xA9}, kTextKinds, {"\xC3\xA9"}},
        {"TextUtf8Rejected", "TIT2", Bytes{3, 0xF8, 0x80}, kRaw, {}},
        {"TextEncoding4", "TIT2", Bytes{4, 'a'}, kRaw, {}},
        {"TextUtf16TooShortForBom", "TIT2", Bytes{1}, kRaw, {}},
        {"TextLaterValues",
         "TPE1",
         Cat({TextBody("a"), {0}, B("b"), {0}, B("c")}),
         {K::Encoding, K::Text, K::LaterValues},
         {"a", "+b", "+c"}},
        {"TextUtf16LaterValues",
         "TPE1",
         Cat({{1}, Utf16LE(u"a"), {0, 0}, Utf16LE(u"b")}),
         {K::Encoding, K::Text, K::LaterValues},
         {"a", "+b"}},
        {"TextTrailingTerminatorIsNoValue",
         "TIT2",
         Cat({{1}, Utf16LE(u"test"), {0, 0}}),
         kTextKinds,
         {"test"},
         false},
        {"Ipls",
         "IPLS",
         Cat({TextBody("Producer"), {0}, B("Martin")}),
         {K::Encoding, K::Text, K::LaterValues},
         {"Producer", "+Martin"}},
        {"V24OnlyTextFrame", "TDRC", TextBody("2004-05-06"), kTextKinds, {"2004-05-06"}},
        {"UserText",
         "TXXX",
         Cat({TextBody("desc"), {0}, B("value")}),
         {K::Encoding, K::Text, K::BoundTerminator, K::Text},
         {"desc", "value"}},
        {"UserTextWithoutTerminator", "TXXX", TextBody("desc"), kRaw, {}},
        {"Url", "WOAR", B("http://x"), {K::NarrowString}, {"http://x"}},
        {"UrlWithJunkAfterZero", "WCOM", Cat({B("http://x"), {0}, B("junk")}), kRaw, {}},
        {"UserUrl",
         "WXXX",
         Cat({TextBody("d"), {0}, B("http://u")}),
         {K::Encoding, K::Text, K::BoundTerminator, K::NarrowString},
         {"d", "http://u"}},
        {"Comment",
         "COMM",
         Cat({{1}, B("ENG"), Utf16LE(u"d"), {0, 0}, Utf16LE(u"hello")}),
         {K::Encoding, K::NarrowString, K::Text, K::BoundTerminator, K::Text},
         {"eng", "d", "hello"},
         false},
        {"CommentLanguageWithZero",
         "COMM",
         Cat({{0}, B("en"), {0}, {0}, B("x")}),
         {K::Encoding, K::NarrowString, K::Text, K::BoundTerminator, K::Text},
         {"en", "", "x"}},
        {"CommentWithoutDescriptionTerminator",
         "COMM",
         Cat({{0}, B("eng"), B("No Comment")}),
         kRaw,
         {}},
        {"Lyrics",
         "USLT",
         Cat({{0}, B("eng"), {0}, B("la la")}),
         {K::Encoding, K::NarrowString, K::Text, K::BoundTerminator, K::Text},
         {"eng", "", "la la"}},
        {"Picture",
         "APIC",
         Cat({{0}, B("image/png"), {0}, {3}, B("cover"), {0}, B("\x89PNG")}),
         {K::Encoding, K::NarrowString, K::Terminator, K::Binary, K::Text, K::BoundTerminator,
          K::Binary},
         {"image/png", "cover"}},
        {"PictureEncoding4",
         "APIC",
         Cat({{4}, B("image/png"), {0}, {3}, {0}, B("data")}),
         kRaw,
         {}},
        {"Raw", "PRIV", B("owner\0data"), kRaw, {}},
        {"RawUnknownId", "RVA2", B("\x01\x02"), kRaw, {}},
    };
}

class LayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(LayoutTest, ReadsAndWritesTheBody) {
    const auto& c = GetParam();
    Id3v2Frame frame(FrameId::FromChars(c.id));
    ReadFrameBody(frame, c.body, BodyReadContext{Cp1252(), {}});
    std::vector<FieldKind> kinds;
    for (std::size_t i = 0; i < frame.FieldCount(); ++i)
        kinds.push_back(frame.FieldAt(i)->Kind());
    EXPECT_EQ(kinds, c.kinds);
    EXPECT_EQ(FieldTexts(frame), c.texts);
    if (c.sameBytesBack) {
        EXPECT_EQ(SerializeFrameBody(frame, 4, Cp1252()), c.body);
    }
    // Whatever the reader made of it, reading the written body again gives the same fields.
    Id3v2Frame again(frame.Id());
    ReadFrameBody(again, SerializeFrameBody(frame, 4, Cp1252()), BodyReadContext{Cp1252(), {}});
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

TEST(LayoutTableTest, KindsByFrameId) {
    EXPECT_EQ(FrameKindOf(FrameId("TALB")), FrameKind::Text);
    EXPECT_EQ(FrameKindOf(FrameId("TSOP")), FrameKind::Text);
    EXPECT_EQ(FrameKindOf(FrameId("IPLS")), FrameKind::Text);
    EXPECT_EQ(FrameKindOf(FrameId("TXXX")), FrameKind::UserText);
    EXPECT_EQ(FrameKindOf(FrameId("W000")), FrameKind::Url);
    EXPECT_EQ(FrameKindOf(FrameId("WXXX")), FrameKind::UserUrl);
    EXPECT_EQ(FrameKindOf(FrameId("USLT")), FrameKind::Comment);
    EXPECT_EQ(FrameKindOf(FrameId("GEOB")), FrameKind::Raw);
}

TEST(FrameIdTableTest, IndicesOtherCodeUses) {
    EXPECT_EQ(kFrameIdTable[frame_index::kApic], FrameId("APIC"));
    EXPECT_EQ(kFrameIdTable[frame_index::kComm], FrameId("COMM"));
    EXPECT_EQ(kFrameIdTable[frame_index::kIpls], FrameId("IPLS"));
    EXPECT_EQ(kFrameIdTable[frame_index::kTalb], FrameId("TALB"));
    EXPECT_EQ(kFrameIdTable[frame_index::kTcon], FrameId("TCON"));
    EXPECT_EQ(kFrameIdTable[frame_index::kTit2], FrameId("TIT2"));
    EXPECT_EQ(kFrameIdTable[frame_index::kTpe1], FrameId("TPE1"));
    EXPECT_EQ(kFrameIdTable[frame_index::kTrck], FrameId("TRCK"));
    EXPECT_EQ(kFrameIdTable[frame_index::kTyer], FrameId("TYER"));
    EXPECT_EQ(kFrameIdTable[frame_index::kTxxx], FrameId("TXXX"));
    EXPECT_EQ(kFrameIdTable[frame_index::kWcom], FrameId("WCOM"));
    EXPECT_EQ(LookUpFrameId("TDRC"), std::nullopt);
    EXPECT_EQ(LookUpFrameId("WXXX"), 73);
}

}  // namespace
}  // namespace velmora
