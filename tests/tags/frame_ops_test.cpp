#include <gtest/gtest.h>

#include "Id3v2TestSupport.h"
#include "tags/CommentOps.h"
#include "tags/FrameFieldTypes.h"
#include "tags/GenreTable.h"
#include "tags/Id3v1Tag.h"
#include "tags/Id3v2Serializer.h"
#include "tags/PictureOps.h"
#include "tags/PictureTypeNames.h"

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

// Spot checks, including the misspellings every other reader keeps; lookup is exact.
TEST(GenreTable, NamesAndIndexesMatch) {
    EXPECT_EQ(GenreTable::GenreCount(), 126u);
    const std::pair<std::size_t, std::u16string_view> names[] = {
        {0, u"Blues"},        {67, u"Psychadelic"}, {85, u"Bebob"}, {123, u"A capella"},
        {125, u"Dance Hall"}, {126, u""},           {255, u""}};
    for (auto [index, name] : names)
        EXPECT_EQ(GenreTable::GenreName(index), name) << index;
    for (std::size_t i = 0; i < GenreTable::GenreCount(); ++i)
        EXPECT_EQ(GenreTable::GenreIndex(GenreTable::GenreName(i)).index, i);
    for (std::u16string_view name : {u"Rock ", u"", u"Heavy Metal"})
        EXPECT_FALSE(GenreTable::GenreIndex(name).found) << name.size();
}

const Bytes kJpeg = {0xFF, 0xD8, 0xFF, 0xE0, 0x00};

TEST(PictureOpsTest, AddReplaceRemove) {
    TestEngine engine;
    Id3v2Tag tag;
    SetPicture(tag, "image/JPEG", u"front", 3, kJpeg, engine.context);
    Id3v2Frame* front = FindPicture(tag, 3);
    ASSERT_NE(front, nullptr);
    EXPECT_EQ(FindPicture(tag, 4), nullptr);
    EXPECT_EQ(PictureData(*front), kJpeg);
    EXPECT_EQ(PictureMimeSubtype(*front, Cp1252()), "jpeg");
    EXPECT_EQ(PictureDescription(*front, Cp1252()), u"front");

    MarkAll(tag, false);
    SetPicture(tag, "jpg", u"new", 3, Bytes{1, 2}, engine.context);  // replaces the front cover
    EXPECT_TRUE(IsTagModified(tag));
    EXPECT_EQ(tag.Frames().size(), 1u);
    EXPECT_EQ(PictureData(*front), (Bytes{1, 2}));
    EXPECT_EQ(PictureMimeSubtype(*front, Cp1252()), "jpg");  // no slash: the whole type

    SetPicture(tag, "image/png", u"", 3, {}, engine.context);  // no data removes the picture
    EXPECT_TRUE(tag.Frames().empty());
    EXPECT_EQ(PictureTypeIndex(u"Publisher/Studio logotype"), 20);
}

TEST(PictureOpsTest, RawPictureIsNeverChanged) {
    TestEngine engine;
    Bytes raw = Cat({{9}, B("image/png"), {0}, {3}, {0}, B("data")});  // encoding 9
    auto read = ReadBytes(Tag(3, Frame("APIC", raw)), engine);
    EXPECT_EQ(FindPicture(*read.tag, 3), nullptr);
    SetPicture(*read.tag, "image/png", u"", 3, kJpeg, engine.context);
    EXPECT_EQ(read.tag->Frames().size(), 2u);
    EXPECT_EQ(read.tag->Frames()[0]->FieldAt(0)->CopyBytes(), raw);
}

TEST(CommentOpsTest, FindGetSetAdd) {
    TestEngine engine;
    Id3v2Tag tag;
    AddComment(tag, "eng", u"", u"first", engine.context);
    AddComment(tag, "deu", u"desc", u"second", engine.context);
    EXPECT_EQ(FindComment(tag, u"Desc", Cp1252()), nullptr);  // descriptions match exactly
    SetCommentText(tag, u"desc", u"changed", "xxx", engine.context);
    SetCommentText(tag, u"other", u"third", "fra", engine.context);
    EXPECT_EQ(GetComment(tag, u"", Cp1252()).text, u"first");
    EXPECT_EQ(GetComment(tag, u"desc", Cp1252()).text, u"changed");
    EXPECT_EQ(GetComment(tag, u"desc", Cp1252()).language, "deu");  // a found comment keeps it
    EXPECT_EQ(GetComment(tag, u"other", Cp1252()).language, "fra");
    EXPECT_FALSE(GetComment(tag, u"none", Cp1252()).language.has_value());
}

TEST(CommentOpsTest, LanguageAlwaysWritesThreeBytes) {
    TestEngine engine;
    for (auto [language, written] :
         {std::pair{"en", Bytes{'e', 'n', 0}}, {"", Bytes{0, 0, 0}}, {"engl", B("eng")}}) {
        Id3v2Tag tag;
        AddComment(tag, language, u"d", u"t", engine.context);
        EXPECT_EQ(SerializeTag(tag, 3, Cp1252()),
                  Frame("COMM", Cat({{0}, written, B("d"), {0}, B("t")})))
            << language;
    }
}

TEST(CommentOpsTest, LaterValuesOfTheTextAreKeptUntilItIsSet) {
    TestEngine engine;
    Bytes body = Cat({{0}, B("eng"), {0}, B("one"), {0}, B("two")});
    auto read = ReadBytes(Tag(3, Frame("COMM", body)), engine);
    EXPECT_EQ(SerializeTag(*read.tag, 3, Cp1252()), Frame("COMM", body));
    SetCommentText(*read.tag, u"", u"new", "eng", engine.context);
    EXPECT_EQ(SerializeTag(*read.tag, 3, Cp1252()),
              Frame("COMM", Cat({{0}, B("eng"), {0}, B("new")})));
}

}  // namespace
}  // namespace velmora
