#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <functional>

#include "FileTestHelpers.h"
#include "Id3v2TestSupport.h"
#include "mpeg_test_streams.h"
#include "replace/ReplaceFaults.h"
#include "support/ScratchDirectory.h"
#include "tags/FrameTextOps.h"
#include "tags/Mp3File.h"

namespace velmora::testing {
namespace {

namespace fs = std::filesystem;

Bytes Audio(std::size_t frames) {
    return Frames(FrameShape{}, frames);
}

// A frame header that announces more bytes than the file holds, so nothing confirms it.
Bytes LoneHeader() {
    Bytes bytes = Audio(1);
    bytes.resize(200);
    return bytes;
}

// A tagged song with 64 bytes of padding: a short title is saved in place, a long one moves
// the audio.
Bytes Song() {
    return Cat({Tag(3, Frame("TIT2", TextBody("Song")), 64), Audio(40)});
}

const std::u16string kShortTitle = u"Short";
const std::u16string kLongTitle(300, u'L');

class SaveSafetyTest : public ::testing::Test {
  protected:
    std::u16string Dir() const { return TextPath(dir_.Root()); }
    std::u16string PathOf(const std::string& name) const { return TextPath(dir_.Path(name)); }
    // Files in a music folder were written long ago, so any later write changes their time.
    void WriteOld(const std::string& name, const Bytes& bytes) const {
        Write(name, bytes);
        const struct timespec old[2] = {{1'600'000'000, 0}, {1'600'000'000, 0}};
        ::utimensat(AT_FDCWD, dir_.Path(name).c_str(), old, 0);
    }
    void Write(const std::string& name, const Bytes& bytes) const {
        dir_.WriteFile(name, std::string(bytes.begin(), bytes.end()));
    }
    std::string Read(const std::string& name) const {
        return ScratchDirectory::ReadFile(dir_.Path(name));
    }
    std::unique_ptr<Mp3File> Load(const std::string& name) {
        return std::make_unique<Mp3File>(engine_.context, Dir(), text::FileNameToText(name));
    }
    std::u16string LastMessage() const {
        const auto texts = engine_.messages.Texts();
        return texts.empty() ? u"" : texts.back();
    }
    std::size_t FilesInFolder() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_.Root()), {}));
    }

    ScratchDirectory dir_;
    TestEngine engine_;
};

// A file that is neither tagged nor MPEG audio is never written, renamed or cut, whatever the
// edits and whatever its name.
TEST_F(SaveSafetyTest, FilesThatAreNotMp3LoadReadOnlyAndRefuseEverySave) {
    const Bytes twoFrames = Audio(2);  // bytes that pass for linked frame headers
    const std::pair<std::string, Bytes> files[] = {
        {"cover.png", Cat({B("\x89PNG\r\n\x1A\n"), Bytes(40, 7), twoFrames})},
        {"cover.jpg", Cat({{0xFF, 0xD8, 0xFF, 0xE0}, Bytes(600, 9), twoFrames})},
        {"song.flac", Cat({B("fLaC"), Bytes(34, 1), twoFrames})},
        {"list.m3u", B("#EXTM3U\nsong.mp3\n")},
        {"empty.mp3", {}},
        {"v1-record-only.mp3", Cat({B("TAG"), Bytes(125, 'x')})},
        {"lone-header.mp3", LoneHeader()},
        {"text.mp3", Bytes(5000, 'a')},
    };
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        Write(name, bytes);
        auto record = Load(name);
        EXPECT_FALSE(record->IsMp3());
        SetFrameText(record->V2(), "TIT2", kShortTitle, engine_.context);
        record->V1().SetText(Id3v1Tag::kTitle, kShortTitle);
        record->MarkRemoveV1();
        record->SetFileName(u"renamed " + text::FileNameToText(name));
        EXPECT_FALSE(record->Save(engine_.context));
        EXPECT_EQ(LastMessage(), PathOf(name) + u" is not an MP3 file; nothing changed");
        EXPECT_EQ(Read(name), std::string(bytes.begin(), bytes.end()));
        EXPECT_FALSE(fs::exists(dir_.Path("renamed " + name)));
        EXPECT_TRUE(record->NeedsSave() && record->RemoveV1Pending());
    }
}

TEST_F(SaveSafetyTest, TaggedFilesAndConfirmedAudioAreSaved) {
    const std::pair<std::string, Bytes> files[] = {
        {"one-frame.mp3", Audio(1)},  // a frame that ends with the file confirms itself
        {"tag-only.mp3", Tag(3, Frame("TIT2", TextBody("x")))},
        {"after-junk.mp3", Cat({Bytes(300, ' '), Audio(3)})},
        {"named-like-an-image.png", Audio(5)},
    };
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        Write(name, bytes);
        auto record = Load(name);
        EXPECT_TRUE(record->IsMp3());
        SetFrameText(record->V2(), "TIT2", kShortTitle, engine_.context);
        ASSERT_TRUE(record->Save(engine_.context)) << text::ToUtf8(LastMessage());
        EXPECT_EQ(TextOf(Load(name)->V2(), "TIT2"), "Short");
    }
}

// Growing or stripping a tag needs a file beside the old one; where the folder takes none,
// the save is refused, the file stays as it was and the edits stay to be saved, while a tag
// that fits is still saved.
TEST_F(SaveSafetyTest, MovingTheAudioIsRefusedWhereTheFolderTakesNoFiles) {
    const std::pair<const char*, std::function<void(Mp3File&)>> edits[] = {
        {"grow the tag",
         [&](Mp3File& r) { SetFrameText(r.V2(), "TIT2", kLongTitle, engine_.context); }},
        {"strip the tag", [](Mp3File& r) { r.MarkRemoveV2(); }},
        {"strip ID3v1, grow the tag",
         [&](Mp3File& r) {
             r.MarkRemoveV1();
             SetFrameText(r.V2(), "TIT2", kLongTitle, engine_.context);
         }},
    };
    for (const int error : {EACCES, EROFS, EPERM}) {
        for (const auto& [what, edit] : edits) {
            SCOPED_TRACE(std::string(what) + ", errno " + std::to_string(error));
            WriteOld("song.mp3", Song());
            auto record = Load("song.mp3");
            edit(*record);
            {
                ReplaceFaults faults;
                faults.Fail(ReplaceStep::CreateTemporary, 1, error);
                ScopedReplaceFaults installed(faults);
                EXPECT_FALSE(record->Save(engine_.context));
            }
            EXPECT_EQ(LastMessage(), u"Couldn't save ID3v2 tag to\n" + PathOf("song.mp3") +
                                         u": the folder " + Dir() +
                                         u" is not writable, so the audio cannot be moved safely");
            const Bytes song = Song();
            EXPECT_EQ(Read("song.mp3"), std::string(song.begin(), song.end()));
            EXPECT_EQ(FilesInFolder(), 1u);
            // Nothing was written, so every edit, a removal too, is still there to save.
            EXPECT_TRUE(record->NeedsSave());
            EXPECT_TRUE(record->Save(engine_.context));
            EXPECT_NE(Read("song.mp3"), std::string(song.begin(), song.end()));
        }
    }
    auto record = Load("song.mp3");
    SetFrameText(record->V2(), "TIT2", kShortTitle, engine_.context);
    ReplaceFaults faults;
    faults.Fail(ReplaceStep::CreateTemporary, 1, EACCES);
    ScopedReplaceFaults installed(faults);
    EXPECT_TRUE(record->Save(engine_.context));
    EXPECT_EQ(faults.Count(ReplaceStep::CreateTemporary), 0u);
}

// Whatever changed the file after the load, the save writes and renames nothing.
TEST_F(SaveSafetyTest, AFileChangedSinceTheLoadIsNotOverwritten) {
    const auto inPlace = [&](bool longTitle) {
        return [&, longTitle] {
            auto other = Load("song.mp3");
            SetFrameText(other->V2(), "TIT2", longTitle ? kLongTitle : u"Other", engine_.context);
            ASSERT_TRUE(other->Save(engine_.context));
        };
    };
    // What changes neither size nor file is seen only when the clock moved on since the last
    // write; this program's own saves make sure it did.
    struct Change {
        const char* what;
        std::function<void()> apply;
        bool seenAtOnce;
    };
    const Change changes[] = {
        {"another tagger rewrote a byte",
         [&] {
             std::fstream f(dir_.Path("song.mp3"), std::ios::in | std::ios::out | std::ios::binary);
             f.seekp(20);
             f.put('Z');
         },
         false},
        {"its time was set",
         [&] { ::utimensat(AT_FDCWD, dir_.Path("song.mp3").c_str(), nullptr, 0); }, false},
        {"another tagger replaced the file",
         [&] {
             Write("new.tmp", Song());
             fs::rename(dir_.Path("new.tmp"), dir_.Path("song.mp3"));
         },
         true},
        {"something appended to it",
         [&] { std::ofstream(dir_.Path("song.mp3"), std::ios::app | std::ios::binary) << "x"; },
         true},
        {"another record saved it in place", inPlace(false), true},
        {"another record saved it by moving the audio", inPlace(true), true},
    };
    // A save that only renames is checked as well; a just written file only by the changes
    // that show at once.
    struct Pass {
        bool justWritten;
        bool edit;
    };
    for (const Pass pass : {Pass{false, true}, Pass{false, false}, Pass{true, true}}) {
        for (const Change& change : changes) {
            if (pass.justWritten && !change.seenAtOnce)
                continue;
            SCOPED_TRACE(std::string(change.what) + (pass.justWritten ? ", just written" : "") +
                         (pass.edit ? "" : ", rename only"));
            pass.justWritten ? Write("song.mp3", Song()) : WriteOld("song.mp3", Song());
            auto record = Load("song.mp3");
            change.apply();
            const std::string changed = Read("song.mp3");
            if (pass.edit)
                SetFrameText(record->V2(), "TIT2", kShortTitle, engine_.context);
            record->SetFileName(u"renamed.mp3");
            EXPECT_FALSE(record->Save(engine_.context));
            EXPECT_EQ(LastMessage(), PathOf("song.mp3") +
                                         u" changed on disk since it was loaded; reload it "
                                         u"before saving");
            EXPECT_EQ(Read("song.mp3"), changed);
            EXPECT_FALSE(fs::exists(dir_.Path("renamed.mp3")));
            EXPECT_TRUE(record->NeedsSave());
        }
    }
}

// The record remembers what its own saves left, so it can be saved again and again.
TEST_F(SaveSafetyTest, ARecordCanBeSavedAgainAfterItsOwnSaves) {
    Write("song.mp3", Song());
    auto record = Load("song.mp3");
    for (const auto& title : {kShortTitle, kLongTitle, std::u16string(u"Again"), kShortTitle}) {
        SetFrameText(record->V2(), "TIT2", title, engine_.context);
        ASSERT_TRUE(record->Save(engine_.context)) << text::ToUtf8(LastMessage());
        EXPECT_EQ(TextOf(Load("song.mp3")->V2(), "TIT2"), text::ToUtf8(title));
    }
    record->SetFileName(u"renamed.mp3");
    EXPECT_TRUE(record->Save(engine_.context));
    EXPECT_TRUE(fs::exists(dir_.Path("renamed.mp3")));
}

// Two processes load one file and save different edits at the same moment: the saves take
// turns, the later one finds the file changed and refuses, and no edit is lost unreported.
TEST_F(SaveSafetyTest, ConcurrentSavesOfOneFileNeverLoseAnEditSilently) {
    for (int round = 0; round < 24; ++round) {
        const bool grow = round % 2 == 1;
        SCOPED_TRACE("round " + std::to_string(round));
        Write("song.mp3", Song());
        std::unique_ptr<Mp3File> records[2] = {Load("song.mp3"), Load("song.mp3")};
        const std::u16string titles[2] = {grow ? kLongTitle : u"First", u"Second"};
        int start[2];
        ASSERT_EQ(::pipe(start), 0);
        pid_t children[2];
        for (int i = 0; i < 2; ++i) {
            SetFrameText(records[i]->V2(), "TIT2", titles[i], engine_.context);
            children[i] = ::fork();
            if (children[i] == 0) {
                ::close(start[1]);
                char go = 0;
                [[maybe_unused]] const ssize_t got = ::read(start[0], &go, 1);
                ::_exit(records[i]->Save(engine_.context) ? 0 : 1);
            }
        }
        ::close(start[0]);
        ::close(start[1]);  // both children start saving now
        int saved = 0;
        int winner = -1;
        for (int i = 0; i < 2; ++i) {
            int status = 0;
            ASSERT_EQ(::waitpid(children[i], &status, 0), children[i]);
            ASSERT_TRUE(WIFEXITED(status));
            if (WEXITSTATUS(status) == 0) {
                ++saved;
                winner = i;
            }
        }
        ASSERT_EQ(saved, 1);
        auto result = Load("song.mp3");
        EXPECT_EQ(TextOf(result->V2(), "TIT2"), text::ToUtf8(titles[winner]));
        EXPECT_EQ(result->Bitrate(), 128);
        EXPECT_EQ(FilesInFolder(), 1u);
    }
}

}  // namespace
}  // namespace velmora::testing
