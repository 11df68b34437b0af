#include <gtest/gtest.h>

#include "ExportTestFiles.h"
#include "support/FakeSettingsKey.h"
#include "export/ExportedFileOfRecord.h"
#include "support/RecordingMessageSink.h"
#include "tags/EngineContext.h"
#include "tags/FrameTextOps.h"
#include "tags/Id3v1Tag.h"
#include "tags/Id3v2Tag.h"

namespace velmora {
namespace {

using testing::Cp1252;

struct TagFixture : ::testing::Test {
    testing::FakeSettingsKey settings;
    testing::RecordingMessageSink messages;
    EngineContext context{settings, Cp1252(), messages};
    Id3v2Tag tag;
    Id3v1Tag v1;

    void Set(const char (&id)[5], std::u16string_view text) {
        SetFrameText(tag, FrameId(id), text, context);
    }
    ExportedFile Described() {
        ExportedFile file;
        DescribeTags(tag, v1, Cp1252(), file);
        return file;
    }
};

TEST_F(TagFixture, AbsentFramesGiveEmptyTexts) {
    const ExportedFile file = Described();
    for (const std::u16string* text :
         {&file.artist, &file.album, &file.title, &file.year, &file.track, &file.genre,
          &file.artist1, &file.album1, &file.title1, &file.year1}) {
        EXPECT_EQ(*text, u"");
    }
    EXPECT_EQ(file.track1, 0);
    EXPECT_EQ(file.genre1, GenreTable::kNoGenre);
}

TEST_F(TagFixture, TakesEveryFrameText) {
    Set("TPE1", u"Artist");
    Set("TALB", u"Album");
    Set("TIT2", u"Title");
    Set("TYER", u"1999");
    Set("TRCK", u"03/12");
    Set("TCON", u"(17)Hard");
    const ExportedFile file = Described();
    EXPECT_EQ(file.artist, u"Artist");
    EXPECT_EQ(file.album, u"Album");
    EXPECT_EQ(file.title, u"Title");
    EXPECT_EQ(file.year, u"1999");
    EXPECT_EQ(file.track, u"3/12");
    EXPECT_EQ(file.genre, u"Hard");
}

TEST_F(TagFixture, GenreReferenceIsResolvedToItsName) {
    Set("TCON", u"Rock");  // stored as "(17)"
    EXPECT_EQ(Described().genre, u"Rock");
}

TEST_F(TagFixture, YearIsTdrcInATagWithoutTyer) {
    Set("TDRC", u"2004");
    EXPECT_EQ(Described().year, u"2004");
}

TEST_F(TagFixture, TakesTheId3v1Fields) {
    v1.SetText(Id3v1Tag::kArtist, u"a1");
    v1.SetText(Id3v1Tag::kAlbum, u"b1");
    v1.SetText(Id3v1Tag::kTitle, u"t1");
    v1.SetText(Id3v1Tag::kYear, u"1980");
    v1.SetTrack(9);
    v1.SetGenre(17);
    const ExportedFile file = Described();
    EXPECT_EQ(file.artist1, u"a1");
    EXPECT_EQ(file.album1, u"b1");
    EXPECT_EQ(file.title1, u"t1");
    EXPECT_EQ(file.year1, u"1980");
    EXPECT_EQ(file.track1, 9);
    EXPECT_EQ(file.genre1, 17);
}

}  // namespace
}  // namespace velmora
