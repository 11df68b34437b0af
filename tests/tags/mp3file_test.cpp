#include "tags/Mp3File.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>

#include "Id3v1TestRecords.h"
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
    Append(file, Frames(FrameShape{}, audioFrames));
    const Id3v1Record record = EncodeId3v1(MakeId3v1({u"Old title"}, 4), Cp1252());
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

TEST_F(Mp3FileTest, AFileThatCannotBeOpenedStillGivesARecord) {
    auto file = Load("missing.mp3");
    ASSERT_EQ(engine_.messages.Shown().size(), 1u);
    const Message m = engine_.messages.Shown()[0];
    EXPECT_EQ(MessageText(m, u"\r\n"),
              u"Couldn't open file:\r\n" + Dir() + u"/missing.mp3: No such file or directory");
    EXPECT_EQ(m.cause.value(), ENOENT);
    EXPECT_EQ(m.caption, u"Velmora 1.1");
    EXPECT_EQ(file->Status(), LoadStatus::Failed);
    ASSERT_NE(file->LoadFailure(), nullptr);
    EXPECT_EQ(file->LoadFailure()->kind, MessageKind::LoadOpenFailed);
    EXPECT_EQ(m.icon, MessageIcon::Error);
    EXPECT_FALSE(file->NeedsSave());
    EXPECT_EQ(file->Bitrate(), 0);
}

// An APEv2 tag (header, one item, footer) as other taggers put it after the audio.
Bytes ApeTag(std::size_t valueSize) {
    auto le32 = [](Bytes& out, std::uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8)
            out.push_back(static_cast<std::uint8_t>(value >> shift));
    };
    Bytes item;
    le32(item, static_cast<std::uint32_t>(valueSize));
    le32(item, 0);
    Append(item, Cat({B("Title"), {0}, Bytes(valueSize, 'v')}));
    auto headerOrFooter = [&](std::uint32_t flags) {
        Bytes bytes = B("APETAGEX");
        for (std::uint32_t value : {2000u, static_cast<std::uint32_t>(item.size() + 32), 1u, flags})
            le32(bytes, value);
        bytes.resize(32, 0);
        return bytes;
    };
    return Cat({headerOrFooter(0xA0000000u), item, headerOrFooter(0x80000000u)});
}

Bytes Lyrics3v2Block(std::size_t lyrics) {
    std::string fields = "IND0000211LYR" + std::string(5 - std::to_string(lyrics).size(), '0') +
                         std::to_string(lyrics) + std::string(lyrics, 'l');
    std::string block = "LYRICSBEGIN" + fields;
    std::string size = std::to_string(block.size());
    return B(block + std::string(6 - size.size(), '0') + size + "LYRICS200");
}

// 47,936 audio bytes at 128 kbit/s last 2.996 s; counting the ID3v1 record, the ID3v2 tag or
// the APEv2 and Lyrics3v2 blocks before the record as audio would make it 3. Those blocks stay
// byte for byte through a save of both tags.
TEST_F(Mp3FileTest, DurationCountsOnlyTheAudioBetweenTheTags) {
    constexpr std::size_t kAudioBytes = 3 * 16000 - 64;
    Bytes audio = Frames(FrameShape{}, kAudioBytes / FrameLength(FrameShape{}));
    audio.resize(kAudioBytes, 0);
    const Id3v1Record record = EncodeId3v1(MakeId3v1({u"Title"}, 1), Cp1252());
    const Bytes trailers = Cat({ApeTag(900), Lyrics3v2Block(500), ApeTag(10)});
    for (const Bytes& between : {Bytes(), trailers}) {
        SCOPED_TRACE(between.size());
        Bytes file = Tag(3, Frame("TIT2", TextBody("Song")), 0);
        Append(file, Cat({audio, between, Bytes(record.begin(), record.end())}));
        Write("a.mp3", file);
        auto loaded = Load("a.mp3");
        EXPECT_EQ(loaded->Bitrate(), 128);
        EXPECT_EQ(loaded->Duration(), 2u);
        SetFrameText(loaded->V2(), FrameId("TIT2"), std::u16string(3000, u'x'), engine_.context);
        loaded->V1().SetText(Id3v1Tag::kTitle, u"New");
        ASSERT_TRUE(loaded->Save(engine_.context));
        const std::string saved = Read("a.mp3");
        const std::string kept = std::string(audio.begin(), audio.end()) +
                                 std::string(between.begin(), between.end()) + "TAGNew";
        EXPECT_EQ(saved.find(kept), saved.size() - 128 - between.size() - audio.size());
    }
}

// A file that is only a tag loses it; a tag whose size passes the end of the file is kept,
// on disk and in the record, the save says why, and the removal is still asked for.
TEST_F(Mp3FileTest, RemovingTheTagOfAFileThatIsOnlyATag) {
    const Bytes exact = Tag(3, Frame("TIT2", TextBody("Song")));
    Bytes past = Tag(3, Frame("TIT2", TextBody("Song")), 100);
    past.resize(past.size() - 50);
    for (const bool whole : {true, false}) {
        const Bytes& file = whole ? exact : past;
        Write("a.mp3", file);
        auto loaded = Load("a.mp3");
        loaded->MarkRemoveV2();
        EXPECT_EQ(loaded->Save(engine_.context), whole);
        EXPECT_EQ(Read("a.mp3"), whole ? "" : std::string(file.begin(), file.end()));
        EXPECT_EQ(Describe(loaded->V2()), whole ? "" : "TIT2=Song");
        EXPECT_EQ(loaded->NeedsSave(), !whole);
    }
    EXPECT_EQ(engine_.messages.Shown().size(), 1u);
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

// An edit saved and loaded again, then both tags removed: each time the record shows what the
// disk holds, and the audio stays.
TEST_F(Mp3FileTest, EditsAndRemovalsReachTheDiskAndLeaveTheRecordClean) {
    Write("a.mp3", TaggedFile());
    auto file = Load("a.mp3");
    const std::string album(100, 'x');  // longer than the padding: the audio moves
    SetFrameText(file->V2(), FrameId("TALB"), std::u16string(album.begin(), album.end()),
                 engine_.context);
    file->V1().SetText(Id3v1Tag::kArtist, u"Band");
    ASSERT_TRUE(file->Save(engine_.context));
    EXPECT_FALSE(file->NeedsSave());
    auto again = Load("a.mp3");
    EXPECT_EQ(TextOf(again->V2(), "TIT2") + "|" + TextOf(again->V2(), "TALB"), "Song|" + album);
    EXPECT_EQ(again->V1().Text(Id3v1Tag::kArtist), u"Band");
    EXPECT_EQ(again->Bitrate(), 128);

    file->MarkRemoveV1();
    file->MarkRemoveV2();
    ASSERT_TRUE(file->Save(engine_.context));
    again = Load("a.mp3");
    for (const Mp3File* record : {file.get(), again.get()}) {
        EXPECT_FALSE(record->NeedsSave());
        EXPECT_TRUE(record->V2().Frames().empty() && record->V1().IsEmpty());
        EXPECT_EQ(record->LoadedId3v2Version(), 0);
    }
    EXPECT_EQ(again->Bitrate(), 128);
}

TEST_F(Mp3FileTest, AFailedRenameKeepsTheOldNameAndTriesAgainNextTime) {
    Write("a.mp3", TaggedFile());
    Write("b.mp3", TaggedFile(2));
    auto file = Load("a.mp3");
    file->SetFileName(u"b.mp3");
    EXPECT_FALSE(file->Save(engine_.context));
    ASSERT_EQ(engine_.messages.Shown().size(), 1u);
    EXPECT_EQ(engine_.messages.Texts()[0], u"Couldn't rename \"a.mp3\" to \"b.mp3\": File exists");
    EXPECT_EQ(engine_.messages.Shown()[0].caption, u"Error");
    EXPECT_EQ(file->DiskName(), u"a.mp3");
    EXPECT_TRUE(file->NeedsSave());
    EXPECT_EQ(Read("b.mp3").size(), TaggedFile(2).size());  // never replaced

    std::filesystem::remove(dir_.Path("b.mp3"));
    EXPECT_TRUE(file->Save(engine_.context));
    EXPECT_EQ(file->DiskName(), u"b.mp3");
    EXPECT_FALSE(file->NeedsSave());
    EXPECT_TRUE(std::filesystem::exists(dir_.Path("b.mp3")));
    EXPECT_EQ(engine_.messages.Shown().size(), 1u);
}

}  // namespace
}  // namespace velmora::testing
