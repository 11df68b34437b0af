#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <functional>

#include "replace/ReplaceFaults.h"
#include "tags/Id3v1TestRecords.h"
#include "tags/RecordFolder.h"
#include "tags/id3v1/Id3v1Record.h"
#include "tags/mpeg/mpeg_test_streams.h"

namespace velmora::testing {
namespace {

namespace fs = std::filesystem;

Bytes Audio(std::size_t frames) {
    return Frames(FrameShape{}, frames);
}

std::string Str(const Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// A tagged song with 64 bytes of padding: a short title is saved in place, a long one moves
// the audio.
Bytes Song() {
    return Cat({Tag(3, Frame("TIT2", TextBody("Song")), 64), Audio(40)});
}

const std::u16string kShortTitle = u"Short";
const std::u16string kLongTitle(300, u'L');

using SaveSafetyTest = RecordFolder;

// A file that is neither tagged nor MPEG audio is never written, renamed or cut, whatever the
// edits and whatever its name; a tagged file or confirmed audio is saved.
TEST_F(SaveSafetyTest, OnlyTaggedFilesAndConfirmedAudioAreSaved) {
    const Bytes twoFrames = Audio(2);  // bytes that pass for linked frame headers
    Bytes loneHeader = Audio(1);       // announces more bytes than the file holds
    loneHeader.resize(200);
    const std::tuple<std::string, Bytes, bool> files[] = {
        {"cover.png", Cat({B("\x89PNG\r\n\x1A\n"), Bytes(40, 7), twoFrames}), false},
        {"empty.mp3", {}, false},
        {"v1-record-only.mp3", Cat({B("TAG"), Bytes(125, 'x')}), false},
        {"lone-header.mp3", loneHeader, false},
        {"one-frame.mp3", Audio(1), true},  // a frame that ends with the file confirms itself
        {"tag-only.mp3", Tag(3, Frame("TIT2", TextBody("x"))), true},
        {"after-junk.mp3", Cat({Bytes(300, ' '), Audio(3)}), true},
        {"named-like-an-image.png", Audio(5), true},
    };
    for (const auto& [name, bytes, mp3] : files) {
        SCOPED_TRACE(name);
        Write(name, bytes);
        auto record = Load(name);
        EXPECT_EQ(record->IsMp3(), mp3);
        SetTitle(*record, kShortTitle);
        if (mp3) {
            ASSERT_TRUE(record->Save(engine_.context)) << text::ToUtf8(LastMessage());
            EXPECT_EQ(TextOf(Load(name)->V2(), "TIT2"), "Short");
            continue;
        }
        record->V1().SetText(Id3v1Tag::kTitle, kShortTitle);
        record->MarkRemoveV1();
        record->SetFileName(u"renamed " + text::FileNameToText(name));
        EXPECT_FALSE(record->Save(engine_.context));
        EXPECT_EQ(LastMessage(), PathOf(name) + u" is not an MP3 file; nothing changed");
        EXPECT_EQ(std::tuple(Read(name), fs::exists(dir_.Path("renamed " + name)),
                             record->NeedsSave() && record->RemoveV1Pending()),
                  std::tuple(Str(bytes), false, true));
    }
}

// Whatever changed the file after the load, the save (or a rename alone) writes and renames
// nothing. What changes neither size nor file is seen only when the clock moved on since the
// last write (so a just written file is checked only with the changes seen at once); this
// program's own saves make sure it did.
TEST_F(SaveSafetyTest, AFileChangedSinceTheLoadIsNotOverwritten) {
    const auto path = dir_.Path("song.mp3");
    const auto saveOther = [&](const std::u16string& title) {
        auto other = Load("song.mp3");
        SetTitle(*other, title);
        ASSERT_TRUE(other->Save(engine_.context));
    };
    // Each change, and whether it is seen at once.
    const std::pair<std::function<void()>, bool> changes[] = {
        // another tagger rewrote a byte; its time was set
        {[&] { std::fstream(path, std::ios::in | std::ios::out).seekp(20).put('Z'); }, false},
        {[&] { ::utimensat(AT_FDCWD, path.c_str(), nullptr, 0); }, false},
        // another tagger replaced the file; something appended to it
        {[&] { fs::rename(Write("new.tmp", Song()), path); }, true},
        {[&] { std::ofstream(path, std::ios::app) << "x"; }, true},
        // another record saved it in place, and by moving the audio
        {[&] { saveOther(u"Other"); }, true},
        {[&] { saveOther(kLongTitle); }, true},
    };
    for (const auto& [justWritten, edit] : {std::pair{false, true}, {false, false}, {true, true}}) {
        for (const auto& row : changes) {
            if (justWritten && !row.second)
                continue;
            SCOPED_TRACE(::testing::Message() << &row - changes << justWritten << edit);
            justWritten ? (void)Write("song.mp3", Song()) : WriteOld("song.mp3", Song());
            auto record = Load("song.mp3");
            row.first();
            const std::string changed = Read("song.mp3");
            if (edit)
                SetTitle(*record, kShortTitle);
            record->SetFileName(u"renamed.mp3");
            EXPECT_FALSE(record->Save(engine_.context));
            EXPECT_EQ(LastMessage(),
                      PathOf("song.mp3") +
                          u" changed on disk since it was loaded; reload it before saving");
            EXPECT_EQ(std::tuple(Read("song.mp3"), dir_.Names().size(), record->NeedsSave()),
                      std::tuple(changed, 1u, true));
        }
    }
}

// Two processes load one file and save different edits at the same moment: the saves take
// turns, the later one finds the file changed and refuses, and no edit is lost unreported.
TEST_F(SaveSafetyTest, ConcurrentSavesOfOneFileNeverLoseAnEditSilently) {
    for (int round = 0; round < 24; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        Write("song.mp3", Song());
        const std::u16string titles[2] = {round % 2 == 1 ? kLongTitle : u"First", u"Second"};
        int start[2];
        ASSERT_EQ(::pipe(start), 0);
        pid_t children[2];
        for (int i = 0; i < 2; ++i) {
            auto record = Load("song.mp3");  // both load before either saves
            SetTitle(*record, titles[i]);
            if ((children[i] = ::fork()) == 0) {
                char go = 0;
                ::close(start[1]);
                [[maybe_unused]] const ssize_t got = ::read(start[0], &go, 1);
                ::_exit(record->Save(engine_.context) ? 0 : 1);
            }
        }
        ::close(start[0]);
        ::close(start[1]);  // both children start saving now
        std::string saved;  // the titles saved, as a child that crashed saved none
        for (int i = 0; i < 2; ++i) {
            int status = 0;
            ASSERT_EQ(::waitpid(children[i], &status, 0), children[i]);
            if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
                saved += text::ToUtf8(titles[i]);
        }
        EXPECT_EQ(TextOf(Load("song.mp3")->V2(), "TIT2"), saved);
        EXPECT_EQ(dir_.Names().size(), 1u);
    }
}

using Mp3FileTest = RecordFolder;

TEST_F(Mp3FileTest, AFileThatCannotBeOpenedStillGivesARecord) {
    auto file = Load("missing.mp3");
    ASSERT_EQ(engine_.messages.Shown().size(), 1u);
    const Message m = engine_.messages.Shown()[0];
    EXPECT_EQ(MessageText(m, u"\r\n"),
              u"Couldn't open file:\r\n" + Dir() + u"/missing.mp3: No such file or directory");
    EXPECT_EQ(
        std::tuple(m.cause.value(), m.caption, m.icon, file->LoadFailure()->kind, file->Status()),
        std::tuple(ENOENT, std::u16string(u"Velmora 1.1"), MessageIcon::Error,
                   MessageKind::LoadOpenFailed, LoadStatus::Failed));
}

// An APEv2 tag (header, items, footer) as other taggers put it after the audio; only the
// footer's size (little-endian) and header flag count.
Bytes ApeTag(std::size_t items) {
    const auto size = static_cast<std::uint8_t>(items + 32);
    const auto edge = [&](std::uint8_t flags) {
        return Cat(
            {B("APETAGEX"), Bytes(4, 0), {size, 0, 0, 0}, Bytes(7, 0), {flags}, Bytes(8, 0)});
    };
    return Cat({edge(0xA0), Bytes(items, 'v'), edge(0x80)});
}

// Its size counts from "LYRICSBEGIN" to the six digits.
const std::string kLyrics3v2 = "LYRICSBEGININD0000211LYR00005lyric000034LYRICS200";

// 47,936 audio bytes at 128 kbit/s last 2.996 s; counting the ID3v1 record, the ID3v2 tag or
// the APEv2 and Lyrics3v2 blocks before the record as audio would make it 3. An edit saved
// (the audio moves) and loaded again, then both tags removed: each time the record shows what
// the disk holds, and the audio and those blocks stay byte for byte.
TEST_F(Mp3FileTest, EditsAndRemovalsKeepTheAudioAndTheBlocksAfterIt) {
    constexpr std::size_t kAudioBytes = 3 * 16000 - 64;
    Bytes audio = Frames(FrameShape{}, kAudioBytes / FrameLength(FrameShape{}));
    audio.resize(kAudioBytes, 0);
    const std::string kept = Str(audio) + Str(ApeTag(100)) + kLyrics3v2 + Str(ApeTag(10));
    const Bytes record = B(AsBytes(RecordWith({{3, "Old title"}})));
    Write("a.mp3", Cat({Tag(3, Frame("TIT2", TextBody("Song")), 64), B(kept), record}));
    auto file = Load("a.mp3");
    EXPECT_EQ(file->Duration(), 2u);
    SetTitle(*file, kLongTitle);  // longer than the padding: the audio moves
    file->V1().SetText(Id3v1Tag::kArtist, u"Band");
    ASSERT_TRUE(file->Save(engine_.context));
    EXPECT_FALSE(file->NeedsSave());
    auto again = Load("a.mp3");
    EXPECT_EQ(std::tuple(TextOf(again->V2(), "TIT2"),
                         again->V1().Text(Id3v1Tag::kTitle) + again->V1().Text(Id3v1Tag::kArtist),
                         again->Bitrate(), again->Duration()),
              std::tuple(text::ToUtf8(kLongTitle), u"Old titleBand", std::uint16_t{128}, 2u));

    file->MarkRemoveV1();
    file->MarkRemoveV2();
    ASSERT_TRUE(file->Save(engine_.context));
    EXPECT_EQ(Read("a.mp3"), kept);
    again = Load("a.mp3");
    for (const Mp3File* loaded : {file.get(), again.get()}) {
        EXPECT_FALSE(loaded->NeedsSave());
        EXPECT_TRUE(loaded->V2().Frames().empty() && loaded->V1().IsEmpty());
        EXPECT_EQ(loaded->LoadedId3v2Version(), 0);
    }
}

// A new name loses what no name may hold; back at the disk name, through a replaced character
// or by an undo, nothing is left to rename. A rename to a taken name replaces nothing, keeps
// the old name and is tried again by the next save, with and without kernel support for
// RENAME_NOREPLACE (without it, a hard link takes the new name, then the old one goes; the
// link cannot take a name that exists).
TEST_F(Mp3FileTest, ANameLosesWhatNoNameMayHoldAndNeverReplacesAFile) {
    Write("a b.mp3", Song());
    Write("b.mp3", Audio(2));
    auto file = Load("a b.mp3");
    EXPECT_FALSE(file->SetFileName(u"a b.mp3"));
    EXPECT_TRUE(file->SetFileName(u"AC/DC: Why? <\"x\"> | \\ *.mp3"));
    EXPECT_EQ(file->Name() + u"|" + file->DiskName(), u"AC DC  Why    x       *.mp3|a b.mp3");
    EXPECT_TRUE(file->NeedsSave());
    EXPECT_TRUE(file->SetFileName(u"a/b.mp3"));
    EXPECT_FALSE(file->NeedsSave());
    file->RestorePending(u"b.mp3", false, false);
    file->RestorePending(u"a b.mp3", false, false);
    EXPECT_FALSE(file->NeedsSave());

    const auto save = [&](bool kernel) {
        ReplaceFaults faults;
        if (!kernel)
            faults.Fail(ReplaceStep::KernelNoReplace, 1, EINVAL);
        ScopedReplaceFaults installed(faults);
        return file->Save(engine_.context);
    };
    file->RestorePending(u"b.mp3", false, false);
    EXPECT_FALSE(save(true));
    EXPECT_FALSE(save(false));
    EXPECT_EQ(
        engine_.messages.Texts(),
        std::vector<std::u16string>(2, u"Couldn't rename \"a b.mp3\" to \"b.mp3\": File exists"));
    EXPECT_EQ(engine_.messages.Shown()[1].caption, u"Error");
    EXPECT_EQ(file->Name() + u"|" + file->DiskName(), u"b.mp3|a b.mp3");
    EXPECT_EQ(std::pair(Read("b.mp3"), file->NeedsSave()), std::pair(Str(Audio(2)), true));
    fs::remove(dir_.Path("b.mp3"));
    EXPECT_TRUE(save(false));
    EXPECT_FALSE(file->NeedsSave());
    EXPECT_EQ(std::pair(dir_.Names(), Read("b.mp3")),
              std::pair(std::vector<std::string>{"b.mp3"}, Str(Song())));
    EXPECT_TRUE(file->SetFileName(u"c.mp3"));
    EXPECT_TRUE(save(true));
    EXPECT_EQ(dir_.Names(), std::vector<std::string>{"c.mp3"});
    EXPECT_EQ(engine_.messages.Shown().size(), 2u);
}

}  // namespace
}  // namespace velmora::testing
