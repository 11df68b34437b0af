#include <gtest/gtest.h>

#include "Id3v2TestSupport.h"
#include "tags/CommentOps.h"
#include "tags/Id3v2Serializer.h"
#include "tags/PictureOps.h"
#include "tags/PictureTypeNames.h"

namespace velmora {
namespace {

using namespace testing;

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
