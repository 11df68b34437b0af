#include "tags/Mp3File.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "Id3v2TestSupport.h"
#include "mpeg_test_streams.h"
#include "support/ScratchDirectory.h"
#include "tags/Id3v1Record.h"
#include "text/FileName.h"

namespace velmora::testing {
namespace {

// A file as a tagger leaves it: ID3v2.3 tag with padding, 128 kbit/s audio, ID3v1.1 tag.
Bytes TaggedFile(std::size_t audioFrames = 40) {
    Bytes file =
        Tag(3, Cat({Frame("TIT2", TextBody("Song")), Frame("TPE1", TextBody("Band"))}), 64);
    Append(file, Frames(FrameSpec{}, audioFrames));
    Id3v1Tag v1;
    v1.SetText(Id3v1Tag::kTitle, u"Old title");
    v1.SetTrack(4);
    Id3v1Record record = EncodeId3v1(v1, Cp1252());
    file.insert(file.end(), record.begin(), record.end());
    return file;
}

class Mp3FileTest : public ::testing::Test {
  protected:
    std::u16string Dir() const { return text::FileNameToText(dir_.Root().native()); }
    void Write(const std::string& name, const Bytes& bytes) {
        dir_.WriteFile(name, std::string(bytes.begin(), bytes.end()));
    }
    std::string Read(const std::string& name) const {
        return ScratchDirectory::ReadFile(dir_.Path(name));
    }
    std::unique_ptr<Mp3File> Load(const std::string& name) {
        return std::make_unique<Mp3File>(engine_.context, Dir(), text::FileNameToText(name));
    }

    ScratchDirectory dir_;
    TestEngine engine_;
};

TEST_F(Mp3FileTest, LoadsBothTagsAndTheAudioFactsAndIsClean) {
    Write("a.mp3", TaggedFile());
    auto file = Load("a.mp3");
    EXPECT_EQ(TextOf(*file, "TIT2"), "Song");
    EXPECT_EQ(file->V1().Text(Id3v1Tag::kTitle), u"Old title");
    EXPECT_EQ(file->V1().Track(), 4);
    EXPECT_EQ(file->LoadedId3v2Version(), 3);
    EXPECT_EQ(file->Bitrate(), 128);
    EXPECT_FALSE(file->Vbr());
    EXPECT_FALSE(file->NeedsSave());
    EXPECT_TRUE(engine_.messages.Shown().empty());
}

TEST_F(Mp3FileTest, AFileThatCannotBeOpenedStillGivesARecord) {
    auto file = Load("missing.mp3");
    ASSERT_EQ(engine_.messages.Shown().size(), 1u);
    const Message m = engine_.messages.Shown()[0];
    EXPECT_EQ(m.text, u"Couldn't open file:\r\n" + Dir() + u"/missing.mp3");
    EXPECT_EQ(m.caption, u"Velmora 1.1");
    EXPECT_EQ(m.icon, MessageIcon::Error);
    EXPECT_FALSE(file->NeedsSave());
    EXPECT_EQ(file->Bitrate(), 0);
}

TEST_F(Mp3FileTest, ShortAndEmptyFilesLoadWithoutTagsOrMessages) {
    Write("empty.mp3", {});
    Write("short.mp3", B("TAG"));
    for (const char* name : {"empty.mp3", "short.mp3"}) {
        auto file = Load(name);
        EXPECT_TRUE(file->Frames().empty());
        EXPECT_TRUE(file->V1().IsEmpty());
        EXPECT_EQ(file->Duration(), 0u);
    }
    EXPECT_TRUE(engine_.messages.Shown().empty());
}

TEST_F(Mp3FileTest, SetFileNameReplacesCharactersNoNameMayHold) {
    Write("a.mp3", TaggedFile());
    auto file = Load("a.mp3");
    EXPECT_FALSE(file->SetFileName(u"a.mp3"));
    EXPECT_TRUE(file->SetFileName(u"AC/DC: Why? <\"x\"> | \\ *.mp3"));
    EXPECT_EQ(file->Name(), u"AC DC  Why    x       *.mp3");
    EXPECT_EQ(file->DiskName(), u"a.mp3");
    EXPECT_TRUE(file->NeedsSave());
}

TEST_F(Mp3FileTest, SavingWithNothingChangedWritesNothing) {
    Write("a.mp3", TaggedFile());
    struct stat before {};
    ::stat(dir_.Path("a.mp3").c_str(), &before);
    auto file = Load("a.mp3");
    EXPECT_TRUE(file->Save(engine_.context));
    struct stat after {};
    ::stat(dir_.Path("a.mp3").c_str(), &after);
    EXPECT_EQ(before.st_mtim.tv_nsec, after.st_mtim.tv_nsec);
    EXPECT_EQ(before.st_ino, after.st_ino);
}

TEST_F(Mp3FileTest, AnEditSurvivesSaveAndReloadWithTheAudioIntact) {
    Bytes original = TaggedFile();
    Write("a.mp3", original);
    auto file = Load("a.mp3");
    SetFrameText(*file, FrameId("TALB"),
                 u"A much longer album title than the padding can hold, "
                 u"so the save has to move the audio further back",
                 engine_.context);
    file->V1().SetText(Id3v1Tag::kArtist, u"Band");
    ASSERT_TRUE(file->NeedsSave());
    ASSERT_TRUE(file->Save(engine_.context));
    EXPECT_FALSE(file->NeedsSave());

    auto again = Load("a.mp3");
    EXPECT_EQ(TextOf(*again, "TIT2"), "Song");
    EXPECT_EQ(TextOf(*again, "TALB").substr(0, 11), "A much long");
    EXPECT_EQ(again->V1().Text(Id3v1Tag::kArtist), u"Band");
    EXPECT_EQ(again->Bitrate(), 128);
    // The audio is the same bytes, now behind a bigger tag.
    std::string now = Read("a.mp3");
    std::string audio(original.begin() + 10 + 64 + 20 + 15, original.end() - 128);
    EXPECT_NE(now.find(audio), std::string::npos);
}

TEST_F(Mp3FileTest, RemovalsStripTheTagsAndLeaveTheRecordCleanAndEmpty) {
    Write("a.mp3", TaggedFile());
    auto file = Load("a.mp3");
    file->MarkRemoveV1();
    file->MarkRemoveV2();
    ASSERT_TRUE(file->Save(engine_.context));
    EXPECT_FALSE(file->NeedsSave());
    EXPECT_TRUE(file->Frames().empty());
    EXPECT_TRUE(file->V1().IsEmpty());
    std::string now = Read("a.mp3");
    EXPECT_NE(now.substr(0, 3), "ID3");
    EXPECT_NE(now.substr(now.size() - 128, 3), "TAG");
    auto again = Load("a.mp3");
    EXPECT_TRUE(again->Frames().empty());
    EXPECT_EQ(again->Bitrate(), 128);
}

TEST_F(Mp3FileTest, AFailedRenameKeepsTheOldNameAndTriesAgainNextTime) {
    Write("a.mp3", TaggedFile());
    Write("b.mp3", TaggedFile(2));
    auto file = Load("a.mp3");
    file->SetFileName(u"b.mp3");
    EXPECT_FALSE(file->Save(engine_.context));
    ASSERT_EQ(engine_.messages.Shown().size(), 1u);
    EXPECT_EQ(engine_.messages.Shown()[0].text, u"Couldn't rename \"a.mp3\" to \"b.mp3\".");
    EXPECT_EQ(file->DiskName(), u"a.mp3");
    EXPECT_TRUE(file->NeedsSave());
    EXPECT_EQ(Read("b.mp3").size(), TaggedFile(2).size());  // never replaced

    std::filesystem::remove(dir_.Path("b.mp3"));
    EXPECT_TRUE(file->Save(engine_.context));
    EXPECT_EQ(file->DiskName(), u"b.mp3");
    EXPECT_FALSE(file->NeedsSave());
    EXPECT_TRUE(std::filesystem::exists(dir_.Path("b.mp3")));
}

TEST_F(Mp3FileTest, RecordsComeFromThePool) {
    Write("a.mp3", TaggedFile(1));
    auto before = Mp3File::ClassPool().UsedCount();
    {
        auto file = Load("a.mp3");
        EXPECT_EQ(Mp3File::ClassPool().UsedCount(), before + 1);
    }
    EXPECT_EQ(Mp3File::ClassPool().UsedCount(), before);
}

}  // namespace
}  // namespace velmora::testing
