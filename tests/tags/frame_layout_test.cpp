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
        {"Comment", "COMM", comment, "ENTZT", "eng|d|hello", false},
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

}  // namespace
}  // namespace velmora
