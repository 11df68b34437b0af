#include <gtest/gtest.h>

#include "Id3v2TestSupport.h"
#include "tags/FrameFieldTypes.h"
#include "tags/Id3v2Serializer.h"

namespace velmora {
namespace {

using namespace testing;

TEST(SerializerTest, ChoosesTheEncodingWrittenAndTheTextReadsBack) {
    struct Row {
        std::uint8_t stored;
        std::u16string text;
        std::uint8_t version, written;
    };
    for (const Row& row : {Row{0, u"Caf\u00E9", 3, 0}, Row{0, u"\u65E5", 3, 1},  // not in CP1252
                           Row{2, u"x\u00E9", 4, 2}, Row{2, u"x", 3, 1}, Row{3, u"\u65E5", 4, 3},
                           Row{3, u"\u65E5", 3, 1}}) {
        Id3v2Frame frame(FrameId("TIT2"));
        frame.PushField(std::make_unique<EncodingField>(row.stored, row.stored));
        frame.PushField(std::make_unique<TextField>(row.text));
        Bytes body = SerializeFrameBody(frame, row.version, Cp1252());
        EXPECT_EQ(body[0], row.written) << int(row.stored) << " in 2." << int(row.version);
        TestEngine engine;
        auto read = ReadBytes(Tag(row.version, Frame("TIT2", body, row.version)), engine);
        EXPECT_EQ(TextOf(*read.tag, "TIT2"), text::ToUtf8(row.text));
    }
}

TEST(SerializerTest, FrameSizesPlainIn23AndSynchsafeIn24) {
    TestEngine engine;
    Id3v2Tag tag;
    SetFrameText(tag, FrameId("TIT2"), std::u16string(199, u'x'), engine.context);
    Bytes v23 = SerializeTag(tag, 3, Cp1252());
    Bytes v24 = SerializeTag(tag, 4, Cp1252());
    EXPECT_EQ(Bytes(v23.begin() + 4, v23.begin() + 10), (Bytes{0, 0, 0, 200, 0, 0}));
    EXPECT_EQ(Bytes(v24.begin() + 4, v24.begin() + 10), (Bytes{0, 0, 1, 0x48, 0, 0}));
    EXPECT_TRUE(IsTagModified(tag));  // serializing is not saving
}

TEST(SerializerTest, ReadWriteReadKeepsEveryFrame) {
    TestEngine engine;
    Bytes body =
        Cat({Frame("TIT2", Cat({{1}, Utf16(u"T\u00EFtle")})),
             Frame("TPE1", Cat({TextBody("a"), {0}, B("b")})), Frame("TDRC", TextBody("2004")),
             Frame("PRIV", B("owner\0\x01\x02")), Frame("WOAR", B("http://x")),
             Frame("COMM", Cat({{0}, B("eng"), B("d"), {0}, B("text")})),
             Frame("APIC", Cat({{0}, B("image/jpeg"), {0}, {3}, {0}, B("\xFF\xD8\xFF")})),
             Frame("TENC", {})});
    auto first = ReadBytes(Tag(3, body, 100), engine);
    EXPECT_EQ(SerializeTag(*first.tag, 3, Cp1252()), body);
    auto second = ReadBytes(Tag(4, SerializeTag(*first.tag, 4, Cp1252())), engine);
    EXPECT_EQ(SerializeTag(*second.tag, 3, Cp1252()), body);
}

}  // namespace
}  // namespace velmora
