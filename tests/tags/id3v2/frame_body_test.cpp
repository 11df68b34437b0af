#include <gtest/gtest.h>

#include <set>

#include "tags/Id3v2TestSupport.h"
#include "tags/id3v2/FrameBodyReaders.h"
#include "tags/id3v2/FrameFieldTypes.h"
#include "tags/id3v2/FrameLayouts.h"
#include "tags/id3v2/Id3v2Serializer.h"

namespace velmora {
namespace {

using namespace testing;

// One letter per field: "NTEBZzRL" by FieldKind.
std::string KindLetters(const Id3v2Frame& frame) {
    std::string letters;
    for (std::size_t i = 0; i < frame.FieldCount(); ++i)
        letters += "NTEBZzRL"[static_cast<int>(frame.FieldAt(i)->Kind())];
    return letters;
}

// Every Text/NarrowString field joined by '|', then "+" and each later value.
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

std::unique_ptr<Id3v2Frame> ReadBody(const FrameId& id, const Bytes& body) {
    auto frame = std::make_unique<Id3v2Frame>(id);
    ReadFrameBody(*frame, body, BodyReadContext{Cp1252(), {}});
    return frame;
}

// One row per frame kind and body: the fields the reader makes of the body, their texts, and
// whether a save gives the same bytes back. Whatever the reader made of it, reading the written
// body again gives the same fields.
TEST(LayoutTest, ReadsAndWritesEveryKindOfBody) {
    const Bytes comment = Cat({{1}, B("ENG"), Utf16(u"d"), {0, 0}, Utf16(u"hello")});
    const struct {
        const char* id;
        Bytes body;
        std::string kinds, texts;
        bool sameBytesBack = true;
    } cases[] = {
        {"TIT2", TextBody("Caf\xE9"), "ET", "Caf\xC3\xA9"},
        {"TIT2", Bytes{1, 0xFE, 0xFF, 0, 'A', 0, 'B'}, "ET", "AB", false},  // big-endian mark
        // Encoding 2 has no mark: FE FF is U+FEFF and must be written back.
        {"TPE1", Bytes{2, 0xFE, 0xFF, 0x00, 0x41}, "ET", "\xEF\xBB\xBF\x41"},
        {"TIT2", Bytes{3, 0xC3, 0xA9}, "ET", "\xC3\xA9"},
        // Bad UTF-8, encoding 4, UTF-16 too short for its mark: kept raw.
        {"TIT2", Bytes{3, 0xF8, 0x80}, "R", ""},
        {"TIT2", Bytes{4, 'a'}, "R", ""},
        {"TIT2", Bytes{1}, "R", ""},
        {"TPE1", Cat({TextBody("a"), {0}, B("b"), {0}, B("c")}), "ETL", "a+b+c"},
        // A trailing terminator is no value.
        {"TIT2", Cat({{1}, Utf16(u"test"), {0, 0}}), "ET", "test", false},
        {"TXXX", Cat({TextBody("desc"), {0}, B("value")}), "ETZT", "desc|value"},
        {"TXXX", TextBody("desc"), "R", ""},                      // without its terminator
        {"WFOO", B("http://x"), "N", "http://x"},                 // unknown URL ID
        {"WCOM", Cat({B("http://x"), {0}, B("junk")}), "R", ""},  // junk after the zero
        {"WXXX", Cat({TextBody("d"), {0}, B("http://u")}), "ETZN", "d|http://u"},
        {"COMM", comment, "ENTZT", "ENG|d|hello"},
        {"COMM", Cat({{0}, B("en"), {0}, {0}, B("x")}), "ENTZT", "en||x"},  // zero in language
        {"COMM", Cat({{0}, B("eng"), B("No Comment")}), "R", ""},  // no description terminator
        {"APIC", Cat({{0}, B("image/png"), {0}, {3}, B("cover"), {0}, B("\x89PNG")}), "ENzBTZB",
         "image/png|cover"},
        {"RVA2", Cat({B("owner"), {0}, B("data")}), "R", ""},  // unknown ID
    };
    std::set<FrameKind> tested;
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        tested.insert(FrameKindOf(FrameId::FromChars(c.id)));
        const auto frame = ReadBody(FrameId::FromChars(c.id), c.body);
        EXPECT_EQ(KindLetters(*frame) + " " + FieldTexts(*frame), c.kinds + " " + c.texts);
        const Bytes written = SerializeFrameBody(*frame, 4, Cp1252());
        if (c.sameBytesBack) {
            EXPECT_EQ(written, c.body);
        }
        EXPECT_EQ(FieldTexts(*ReadBody(frame->Id(), written)), c.texts);
    }
    for (const auto& layout : kFrameLayouts)
        EXPECT_TRUE(tested.count(layout.kind)) << "no row for the " << layout.name << " layout";
}

}  // namespace
}  // namespace velmora
