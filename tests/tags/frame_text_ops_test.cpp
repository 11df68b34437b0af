#include <gtest/gtest.h>

#include "Id3v2TestSupport.h"
#include "tags/FrameFieldTypes.h"
#include "tags/Id3v1Tag.h"
#include "tags/Id3v2Serializer.h"

namespace velmora {
namespace {

using namespace testing;

struct RuleCase {
    const char* name;
    const char* id;
    std::u16string input;
    std::u16string stored;
};

class SetFrameTextRuleTest : public ::testing::TestWithParam<RuleCase> {};

TEST_P(SetFrameTextRuleTest, StoresTheRuledText) {
    TestEngine engine;
    Id3v2Tag tag;
    SetFrameText(tag, FrameId::FromChars(GetParam().id), GetParam().input, engine.context);
    EXPECT_EQ(GetFrameText(tag, FrameId::FromChars(GetParam().id), FieldKind::Text, Cp1252()),
              GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Cases, SetFrameTextRuleTest,
                         ::testing::Values(RuleCase{"TrackZeros", "TRCK", u"007", u"7"},
                                           RuleCase{"TrackTwoZeros", "TRCK", u"00", u"0"},
                                           RuleCase{"TrackOfTotal", "TRCK", u"01/12", u"1/12"},
                                           RuleCase{"TrackThree", "TRCK", u"03", u"3"},
                                           RuleCase{"GenreName", "TCON", u"Rock", u"(17)"},
                                           RuleCase{"GenreOtherCase", "TCON", u"rock", u"rock"},
                                           RuleCase{"GenreFree", "TCON", u"Nu Jazz", u"Nu Jazz"},
                                           RuleCase{"TitleZerosStay", "TIT2", u"007", u"007"},
                                           RuleCase{"Empty", "TALB", u"", u""}),
                         [](const auto& param) { return std::string(param.param.name); });

struct GenreCase {
    const char* name;
    std::u16string tcon;
    std::u16string shown;
};

class GenreDisplayTest : public ::testing::TestWithParam<GenreCase> {};

TEST_P(GenreDisplayTest, ShowsTheGenre) {
    EXPECT_EQ(GenreDisplayFor(GetParam().tcon), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Cases, GenreDisplayTest,
                         ::testing::Values(GenreCase{"Reference", u"(17)", u"Rock"},
                                           GenreCase{"ReferenceAndText", u"(17)Hard", u"Hard"},
                                           GenreCase{"OutOfRange", u"(200)", u""},
                                           GenreCase{"NoDigits", u"(RX)", u"Blues"},
                                           GenreCase{"Unclosed", u"(3", u"Dance"},
                                           GenreCase{"Plain", u"Techno-Dance", u"Techno-Dance"},
                                           GenreCase{"HugeNumber", u"(99999999999999)", u""},
                                           GenreCase{"Empty", u"", u""}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(FrameTextOpsTest, SettingTheSameTextMarksNothing) {
    TestEngine engine;
    Id3v2Tag tag;
    SetFrameText(tag, FrameId("TIT2"), u"Same", engine.context);
    MarkAll(tag, false);
    SetFrameText(tag, FrameId("TIT2"), u"Same", engine.context);
    EXPECT_FALSE(IsTagModified(tag));
    SetFrameText(tag, FrameId("TIT2"), u"Other", engine.context);
    EXPECT_TRUE(IsTagModified(tag));
    EXPECT_EQ(tag.Frames().size(), 1u);
}

TEST(FrameTextOpsTest, YearIsTdrcWhenTheTagHasNoTyer) {
    TestEngine engine;
    auto read = ReadBytes(Tag(4, Frame("TDRC", TextBody("1966"), 4)), engine);
    EXPECT_EQ(TextOf(*read.tag, "TYER"), "1966");
    SetFrameText(*read.tag, FrameId("TYER"), u"1967", engine.context);
    EXPECT_EQ(FrameIds(*read.tag), std::vector<std::string>{"TDRC"});
    EXPECT_EQ(TextOf(*read.tag, "TDRC"), "1967");

    Id3v2Tag empty;
    SetFrameText(empty, FrameId("TYER"), u"2001", engine.context);
    EXPECT_EQ(FrameIds(empty), std::vector<std::string>{"TYER"});
}

TEST(FrameTextOpsTest, NewTextReplacesLaterValues) {
    TestEngine engine;
    auto read = ReadBytes(Tag(4, Frame("TPE1", Cat({TextBody("a"), {0}, B("b")}), 4)), engine);
    MarkAll(*read.tag, false);
    SetFrameText(*read.tag, FrameId("TPE1"), u"c", engine.context);
    EXPECT_EQ(SerializeTag(*read.tag, 4, Cp1252()), Frame("TPE1", TextBody("c"), 4));
}

TEST(FrameTextOpsTest, FrameWithoutTextFieldGetsOne) {
    TestEngine engine;
    auto read =
        ReadBytes(Tag(3, Cat({Frame("TIT2", Bytes{3, 0xF8, 0x80}), Frame("TALB", {})})), engine);
    EXPECT_EQ(TextOf(*read.tag, "TIT2"), "<none>");
    SetFrameText(*read.tag, FrameId("TIT2"), u"Fixed", engine.context);
    SetFrameText(*read.tag, FrameId("TALB"), u"Album", engine.context);
    EXPECT_EQ(TextOf(*read.tag, "TIT2"), "Fixed");
    EXPECT_EQ(SerializeTag(*read.tag, 3, Cp1252()),
              Cat({Frame("TIT2", TextBody("Fixed")), Frame("TALB", TextBody("Album"))}));
}

TEST(FrameTextOpsTest, EncodingPolicyAppliesToNewFrames) {
    struct Row {
        bool use24;
        std::uint32_t encoding;
        std::uint8_t stored;
    };
    for (Row row : {Row{false, 3, 0}, Row{true, 0, 0}, Row{true, 1, 2}, Row{true, 2, 1},
                    Row{true, 3, 3}, Row{true, 7, 0}}) {
        TestEngine engine;
        engine.Use24(row.use24, row.encoding);
        Id3v2Tag tag;
        SetFrameText(tag, FrameId("TIT2"), u"x", engine.context);
        auto* field = static_cast<EncodingField*>(FindField(*tag.Frames()[0], FieldKind::Encoding));
        EXPECT_EQ(field->Stored(), row.stored) << row.use24 << " " << row.encoding;
        EXPECT_EQ(field->Source(), 0);
    }
}

TEST(FrameTextOpsTest, CopyFromId3v1) {
    TestEngine engine;
    Id3v1Tag v1;
    v1.SetText(Id3v1Tag::kTitle, u"Title");
    v1.SetText(Id3v1Tag::kArtist, u"Artist");
    v1.SetText(Id3v1Tag::kAlbum, u"Album");
    v1.SetText(Id3v1Tag::kYear, u"1999");
    v1.SetTrack(0);
    v1.SetGenre(130);
    Id3v2Tag tag;
    CopyFromId3v1(tag, v1, engine.context);
    EXPECT_EQ(FrameIds(tag),
              (std::vector<std::string>{"TIT2", "TPE1", "TALB", "TYER", "TRCK", "TCON"}));
    EXPECT_EQ(TextOf(tag, "TRCK"), "0");
    EXPECT_EQ(TextOf(tag, "TCON"), "");
    v1.SetGenre(17);
    CopyFromId3v1(tag, v1, engine.context);
    EXPECT_EQ(TextOf(tag, "TCON"), "(17)");
}

struct CleanupCase {
    const char* name;
    std::u16string text;
    bool capitalizeChanges;
    std::u16string capitalized;
};

class CleanupTest : public ::testing::TestWithParam<CleanupCase> {};

TEST_P(CleanupTest, Capitalizes) {
    TestEngine engine;
    Id3v2Tag tag;
    SetFrameText(tag, FrameId("TIT2"), GetParam().text, engine.context);
    EXPECT_EQ(CapitalizeWords(tag, FrameId("TIT2"), engine.context), GetParam().capitalizeChanges);
    EXPECT_EQ(GetFrameText(tag, FrameId("TIT2"), FieldKind::Text, Cp1252()),
              GetParam().capitalized);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CleanupTest,
    ::testing::Values(CleanupCase{"Mixed", u"the_end-of it", true, u"The_End-Of It"},
                      CleanupCase{"Already", u"Abc", false, u"Abc"},
                      CleanupCase{"NonAscii", u"\u00E9t\u00E9 x", true, u"\u00E9t\u00E9 X"},
                      CleanupCase{"Empty", u"", false, u""}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(FrameTextOpsTest, UnderscoresToSpaces) {
    TestEngine engine;
    Id3v2Tag tag;
    EXPECT_FALSE(UnderscoresToSpaces(tag, FrameId("TIT2"), engine.context));
    SetFrameText(tag, FrameId("TIT2"), u"a_b_c", engine.context);
    EXPECT_TRUE(UnderscoresToSpaces(tag, FrameId("TIT2"), engine.context));
    EXPECT_EQ(TextOf(tag, "TIT2"), "a b c");
    EXPECT_FALSE(UnderscoresToSpaces(tag, FrameId("TIT2"), engine.context));
}

TEST(FrameListOpsTest, FlagsFollowTheOperations) {
    TestEngine engine;
    Id3v2Tag tag;
    SetFrameText(tag, FrameId("TIT2"), u"a", engine.context);
    SetFrameText(tag, FrameId("TPE1"), u"b", engine.context);
    MarkAll(tag, false);
    EXPECT_FALSE(IsTagModified(tag));
    RemoveFirstFrame(tag, FrameId("TALB"));  // not there: nothing changes
    EXPECT_FALSE(IsTagModified(tag));
    RemoveFirstFrame(tag, FrameId("TIT2"));
    EXPECT_TRUE(tag.FrameListChanged());
    EXPECT_EQ(FrameIds(tag), std::vector<std::string>{"TPE1"});
    SetFrameText(tag, FrameId("TALB"), u"c",
                 engine.context);  // appending marks all, clears the list flag
    EXPECT_FALSE(tag.FrameListChanged());
    EXPECT_TRUE(IsFrameModified(*tag.Frames()[0]));
}

TEST(FrameListOpsTest, FindFrameAndFieldAfter) {
    TestEngine engine;
    auto read = ReadBytes(Tag(3, Cat({Frame("COMM", Cat({{0}, B("eng"), B("a"), {0}, B("1")})),
                                      Frame("TIT2", TextBody("t")),
                                      Frame("COMM", Cat({{0}, B("eng"), B("b"), {0}, B("2")}))})),
                          engine);
    Id3v2Frame* first = FindFrame(*read.tag, FrameId("COMM"));
    Id3v2Frame* second = FindFrame(*read.tag, FrameId("COMM"), first);
    ASSERT_TRUE(first && second && first != second);
    EXPECT_EQ(FindFrame(*read.tag, FrameId("COMM"), second), nullptr);
    FrameField* description = FindField(*second, FieldKind::Text);
    FrameField* text = FindField(*second, FieldKind::Text, description);
    EXPECT_EQ(text->GetText(Cp1252()), u"2");
    EXPECT_EQ(FindField(*second, FieldKind::Text, text), nullptr);
}

TEST(FrameListOpsTest, AFrameHoldsAtMostSixteenFields) {
    Id3v2Frame frame(FrameId("PRIV"));
    for (int i = 0; i < 16; ++i)
        EXPECT_TRUE(AppendField(frame, std::make_unique<TerminatorField>(false)));
    EXPECT_FALSE(AppendField(frame, std::make_unique<TerminatorField>(false)));
    EXPECT_EQ(frame.FieldCount(), 16u);
}

}  // namespace
}  // namespace velmora

namespace velmora {
namespace {

TEST(FramePoolsTest, FramesEncodingAndTextFieldsComeFromTheirPools) {
    testing::TestEngine engine;
    std::size_t frames = Id3v2Frame::ClassPool().UsedCount();
    std::size_t encodings = EncodingField::ClassPool().UsedCount();
    std::size_t texts = TextField::ClassPool().UsedCount();
    {
        Id3v2Tag tag;
        SetFrameText(tag, FrameId("TIT2"), u"x", engine.context);
        EXPECT_EQ(Id3v2Frame::ClassPool().UsedCount(), frames + 1);
        EXPECT_EQ(EncodingField::ClassPool().UsedCount(), encodings + 1);
        EXPECT_EQ(TextField::ClassPool().UsedCount(), texts + 1);
    }
    EXPECT_EQ(Id3v2Frame::ClassPool().UsedCount(), frames);
    EXPECT_EQ(TextField::ClassPool().UsedCount(), texts);
}

}  // namespace
}  // namespace velmora
