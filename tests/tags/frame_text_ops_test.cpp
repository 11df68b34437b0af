#include <gtest/gtest.h>

#include "Id3v2TestSupport.h"
#include "tags/FrameFieldTypes.h"
#include "tags/Id3v1Tag.h"
#include "tags/Id3v2Serializer.h"

namespace velmora {
namespace {

using namespace testing;

TEST(FrameTextOpsTest, SetFrameTextRules) {
    for (auto [id, input, stored] : {std::tuple{"TRCK", u"007", "7"},
                                     {"TRCK", u"00", "0"},
                                     {"TRCK", u"01/12", "1/12"},
                                     {"TCON", u"Rock", "(17)"},
                                     {"TCON", u"rock", "rock"},
                                     {"TIT2", u"007", "007"}}) {
        TestEngine engine;
        Id3v2Tag tag;
        SetFrameText(tag, FrameId::FromChars(id), input, engine.context);
        EXPECT_EQ(TextOf(tag, id), stored) << id << " " << text::ToUtf8(input);
    }
}

TEST(FrameTextOpsTest, GenreDisplay) {
    const std::pair<std::u16string_view, std::u16string_view> rows[] = {
        {u"(17)", u"Rock"}, {u"(17)Hard", u"Hard"}, {u"(RX)", u"Blues"},
        {u"(3", u"Dance"},  {u"Techno", u"Techno"}, {u"(99999999999999)", u""}};
    for (auto [tcon, shown] : rows)
        EXPECT_EQ(GenreDisplayFor(tcon), shown) << text::ToUtf8(tcon);
}

TEST(FrameTextOpsTest, OnlyRealChangesMarkTheTag) {
    TestEngine engine;
    Id3v2Tag tag;
    SetFrameText(tag, FrameId("TIT2"), u"Same", engine.context);
    MarkAll(tag, false);
    SetFrameText(tag, FrameId("TIT2"), u"Same", engine.context);
    RemoveFirstFrame(tag, FrameId("TALB"));  // not there
    EXPECT_FALSE(IsTagModified(tag));
    SetFrameText(tag, FrameId("TIT2"), u"Other", engine.context);
    EXPECT_TRUE(IsTagModified(tag));
    MarkAll(tag, false);
    RemoveFirstFrame(tag, FrameId("TIT2"));
    EXPECT_TRUE(IsTagModified(tag));
}

TEST(FrameTextOpsTest, YearIsTdrcWhenTheTagHasNoTyer) {
    TestEngine engine;
    auto read = ReadBytes(Tag(4, Frame("TDRC", TextBody("1966"), 4)), engine);
    EXPECT_EQ(TextOf(*read.tag, "TYER"), "1966");
    SetFrameText(*read.tag, FrameId("TYER"), u"1967", engine.context);
    EXPECT_EQ(Describe(*read.tag), "TDRC=1967");
    Id3v2Tag empty;
    SetFrameText(empty, FrameId("TYER"), u"2001", engine.context);
    EXPECT_EQ(Describe(empty), "TYER=2001");
}

TEST(FrameTextOpsTest, NewTextReplacesLaterValues) {
    TestEngine engine;
    auto read = ReadBytes(Tag(4, Frame("TPE1", Cat({TextBody("a"), {0}, B("b")}), 4)), engine);
    SetFrameText(*read.tag, FrameId("TPE1"), u"c", engine.context);
    EXPECT_EQ(SerializeTag(*read.tag, 4, Cp1252()), Frame("TPE1", TextBody("c"), 4));
}

TEST(FrameTextOpsTest, FrameWithoutTextFieldGetsOne) {
    TestEngine engine;
    auto read =
        ReadBytes(Tag(3, Cat({Frame("TIT2", Bytes{3, 0xF8, 0x80}), Frame("TALB", {})})), engine);
    SetFrameText(*read.tag, FrameId("TIT2"), u"Fixed", engine.context);
    SetFrameText(*read.tag, FrameId("TALB"), u"Album", engine.context);
    EXPECT_EQ(SerializeTag(*read.tag, 3, Cp1252()),
              Cat({Frame("TIT2", TextBody("Fixed")), Frame("TALB", TextBody("Album"))}));
}

TEST(FrameTextOpsTest, EncodingPolicyAppliesToNewFrames) {
    // (Use2.4, Encoding setting, encoding byte stored); setting 2 is UTF-16 with a BOM.
    const std::tuple<bool, std::uint32_t, int> rows[] = {{false, 3, 0}, {true, 0, 0}, {true, 1, 2},
                                                         {true, 2, 1},  {true, 3, 3}, {true, 7, 0}};
    for (auto [use24, setting, stored] : rows) {
        TestEngine engine;
        engine.Use24(use24, setting);
        Id3v2Tag tag;
        SetFrameText(tag, FrameId("TIT2"), u"x", engine.context);
        auto* field = static_cast<EncodingField*>(FindField(*tag.Frames()[0], FieldKind::Encoding));
        EXPECT_EQ(field->Stored(), stored) << use24 << " " << setting;
    }
}

TEST(FrameTextOpsTest, CopyFromId3v1) {
    TestEngine engine;
    Id3v1Tag v1;
    v1.SetText(Id3v1Tag::kTitle, u"Title");
    v1.SetText(Id3v1Tag::kYear, u"1999");
    v1.SetGenre(130);  // no such genre
    Id3v2Tag tag;
    CopyFromId3v1(tag, v1, engine.context);
    EXPECT_EQ(Describe(tag), "TIT2=Title|TPE1=|TALB=|TYER=1999|TRCK=0|TCON=");
    v1.SetGenre(17);
    CopyFromId3v1(tag, v1, engine.context);
    EXPECT_EQ(TextOf(tag, "TCON"), "(17)");
}

TEST(FrameTextOpsTest, CapitalizeAndUnderscores) {
    TestEngine engine;
    Id3v2Tag tag;
    const FrameId title("TIT2");
    EXPECT_FALSE(UnderscoresToSpaces(tag, title, engine.context));
    SetFrameText(tag, title, u"the_end-of \u00E9t\u00E9 x", engine.context);
    EXPECT_TRUE(CapitalizeWords(tag, title, engine.context));
    EXPECT_EQ(TextOf(tag, "TIT2"), "The_End-Of \xC3\xA9t\xC3\xA9 X");
    EXPECT_FALSE(CapitalizeWords(tag, title, engine.context));
    EXPECT_TRUE(UnderscoresToSpaces(tag, title, engine.context));
    EXPECT_EQ(TextOf(tag, "TIT2"), "The End-Of \xC3\xA9t\xC3\xA9 X");
    EXPECT_FALSE(UnderscoresToSpaces(tag, title, engine.context));
}

TEST(FrameListOpsTest, AFrameHoldsAtMostSixteenFields) {
    Id3v2Frame frame(FrameId("PRIV"));
    for (int i = 0; i < 16; ++i)
        EXPECT_TRUE(AppendField(frame, std::make_unique<TerminatorField>(false)));
    EXPECT_FALSE(AppendField(frame, std::make_unique<TerminatorField>(false)));
}

TEST(FramePoolsTest, FramesEncodingAndTextFieldsComeFromTheirPools) {
    TestEngine engine;
    auto counts = [] {
        return std::array{Id3v2Frame::ClassPool().UsedCount(),
                          EncodingField::ClassPool().UsedCount(),
                          TextField::ClassPool().UsedCount()};
    };
    auto before = counts();
    {
        Id3v2Tag tag;
        SetFrameText(tag, FrameId("TIT2"), u"x", engine.context);
        EXPECT_EQ(counts(), (std::array{before[0] + 1, before[1] + 1, before[2] + 1}));
    }
    EXPECT_EQ(counts(), before);
}

}  // namespace
}  // namespace velmora
