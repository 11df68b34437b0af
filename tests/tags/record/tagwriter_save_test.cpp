#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>

#include "common/SystemReason.h"
#include "replace/ReplaceFaults.h"
#include "tags/TagWriterTestSupport.h"
#include "tags/file/BufferedFileFaults.h"
#include "tags/file/SafeRename.h"
#include "tags/record/Padding.h"
#include "tags/record/TagRegion.h"
#include "tags/record/TagSavePlan.h"

namespace velmora {
namespace {

using namespace testing;

const std::string kAudio = Pattern(300'000, 7);
const std::string kOldRecord = "TAG" + Pattern(125, 3);

std::string P(std::size_t size) {
    return Pattern(size, 9);
}

TEST(TagSave, GivesTheModelsBytes) {
    const std::string tagged = TagBytes(2048, Pattern(2048, 1)) + kAudio;
    const std::string both = tagged + kOldRecord;
    const std::string footerTag = TagBytes(500, Pattern(510, 2), 4, 0x10);
    const struct {
        const char* name;
        std::string file;
        SaveJob job;
    } cases[] = {
        {"InPlaceWithPadding", tagged, {.frames = P(1000)}},
        {"ExactFit", tagged, {.frames = P(2048)}},
        {"EmptyFrameListInPlace", tagged, {.frames = ""}},
        {"GrowsOldTag", both, {.frames = P(5000)}},
        {"NewTagBeforeAudio", kAudio, {.frames = P(100), .version = 4}},
        {"GrowWithId3v1Write", both, {.writeV1 = true, .frames = P(9000)}},
        {"GrowWithId3v1Strip", both, {.stripV1 = true, .frames = P(9000)}},
        {"InPlaceWithId3v1Append", tagged, {.writeV1 = true, .frames = P(10), .version = 4}},
        {"FooterTagInPlace", footerTag + kAudio, {.frames = P(505), .version = 4}},
        {"FooterTagGrows", footerTag + kAudio, {.frames = P(600)}},
        {"Id3v22Replaced", TagBytes(300, Pattern(300, 4), 2) + kAudio, {.frames = P(20)}},
        {"Id3v23HasNoFooter", TagBytes(500, P(500), 3, 0x10) + kAudio, {.frames = P(600)}},
        {"StripFooterTag", footerTag + kAudio, {.stripV2 = true}},
        {"StripTagThatIsTheWholeFile", TagBytes(100, P(100)), {.stripV2 = true}},
        {"StripTagThatEndsAtTheRecord", TagBytes(100, P(100)) + kOldRecord, {.stripV2 = true}},
        {"StripBothTags", both, {.stripV1 = true, .stripV2 = true}},
        {"StripId3v2WriteId3v1", tagged, {.writeV1 = true, .stripV2 = true}},
        {"StripWinsOverFrames", tagged, {.stripV2 = true, .frames = P(9)}},
        {"Id3v1Overwritten", kAudio + kOldRecord, {.writeV1 = true}},
        {"Id3v1Appended", kAudio, {.writeV1 = true}},
        {"RecordOnlyFileGetsASecond", kOldRecord, {.writeV1 = true}},
        {"EmptyId3v1AutoDeleted", kAudio + kOldRecord, {.writeV1 = true, .emptyV1 = true}},
        {"Id3v1Stripped", kAudio + kOldRecord, {.stripV1 = true}},
        {"TinyFileGetsATagInFront", "0123456789", {.frames = P(50)}},
        {"TinyFileGetsRecordThenTag", "01234", {.writeV1 = true, .frames = P(50)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SaveHarness harness;
        const auto path = harness.dir.WriteFile("song.mp3", c.file);
        EXPECT_TRUE(SaveTags(harness.Request(path, c.job), harness.context));
        EXPECT_EQ(ScratchDirectory::ReadFile(path), harness.Expected(c.job, c.file));
        EXPECT_TRUE(harness.messages.Shown().empty());
        EXPECT_EQ(harness.dir.Names().size(), 1u);  // no temporary file stays behind
    }
}

void SetOldTime(const std::filesystem::path& path) {
    const timespec times[2] = {{1'000'000, 0}, {1'000'000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

TEST(TagSave, NothingToDoTouchesNothing) {
    SaveHarness harness;
    const std::string bytes = TagBytes(100, Pattern(100)) + kAudio;
    const auto path = harness.dir.WriteFile("song.mp3", bytes);
    SetOldTime(path);
    FileFaults faults;
    ScopedFileFaults installed(faults);
    EXPECT_TRUE(SaveTags(harness.Request(path), harness.context));
    EXPECT_EQ(faults.Count(FileCall::Open), 0u);
    EXPECT_EQ(StatOf(path).st_mtim.tv_sec, 1'000'000);
}

// A failed save reports once and leaves the file exactly as it was.
TEST(TagSave, FailuresAreReportedAndKeepTheFile) {
    const struct {
        std::string file;  // empty: no file
        int createError;
        const char16_t* message;
        int reason;  // the errno whose text follows the message, 0 for none
    } cases[] = {
        {TagBytes(900'000, Pattern(500)) + kAudio + kOldRecord, 0, u"Couldn't save ID3v2 tag to\n",
         0},
        {std::string("ID3\3\0\0\x80\0\0\0", 10) + kAudio, 0, u"Couldn't save ID3v2 tag to\n", 0},
        // Padding the tag in place would run over the record being replaced.
        {TagBytes(200, P(100)) + kOldRecord, 0, u"Couldn't save ID3v2 tag to\n", 0},
        {TagBytes(100, Pattern(100)) + kAudio, ENOSPC, u"Couldn't save ID3v2 tag to\n", ENOSPC},
        {"", 0, u"Couldn't open\n", ENOENT},
    };
    for (const auto& c : cases) {
        SaveHarness harness;
        const auto path = harness.dir.Path("song.mp3");
        if (!c.file.empty()) {
            harness.dir.WriteFile("song.mp3", c.file);
            SetOldTime(path);
        }
        ReplaceFaults faults;
        faults.Fail(ReplaceStep::CreateTemporary, 1, c.createError);
        ScopedReplaceFaults installed(faults);
        EXPECT_FALSE(SaveTags(harness.Request(path, {.writeV1 = true, .frames = P(20'000)}),
                              harness.context));
        EXPECT_EQ(harness.messages.Texts(),
                  std::vector{c.message + TextPath(path) +
                              (c.reason != 0 ? u": " + SystemReasonText(c.reason) : u"")});
        EXPECT_EQ(harness.messages.Shown().at(0).caption, u"Error");
        // The system error of the failing call travels with the message.
        EXPECT_EQ(harness.messages.Shown().at(0).cause.value(), c.reason);
        EXPECT_EQ(ScratchDirectory::ReadFile(path), c.file) << &c - cases;
        EXPECT_EQ(StatOf(path).st_mtim.tv_sec, c.file.empty() ? 0 : 1'000'000);
    }
}

// A tag that claims more than the file (or than the bytes before the ID3v1 record) holds is
// not cut off: where its audio would start is a guess.
TEST(TagSave, StripOfATagPastTheEndIsRefusedWithTheReason) {
    for (const std::string& file : {TagBytes(5000, P(100)), TagBytes(200, P(100)) + kOldRecord}) {
        SaveHarness harness;
        const auto path = harness.dir.WriteFile("song.mp3", file);
        EXPECT_FALSE(SaveTags(harness.Request(path, {.stripV2 = true}), harness.context));
        EXPECT_EQ(harness.messages.Texts(),
                  std::vector<std::u16string>{u"Couldn't save ID3v2 tag to\n" + TextPath(path) +
                                              u": its ID3v2 tag claims more bytes than the file "
                                              u"holds, so it was not removed"});
        EXPECT_EQ(ScratchDirectory::ReadFile(path), file);
    }
}

// Which bytes of the file a save wrote, as offsets of the system's write calls.
TEST(TagSave, InPlaceSaveWritesOnlyTheTagAndTheRecord) {
    SaveHarness harness;
    const std::string bytes = TagBytes(4096, Pattern(4096)) + kAudio + kOldRecord;
    const auto path = harness.dir.WriteFile("song.mp3", bytes);
    const ino_t inode = StatOf(path).st_ino;
    FileFaults faults;
    {
        ScopedFileFaults installed(faults);
        ASSERT_TRUE(
            SaveTags(harness.Request(path, {.writeV1 = true, .frames = P(3000)}), harness.context));
    }
    for (const auto& write : faults.Writes()) {
        const bool inTag = write.offset + write.size <= 4106;
        const bool inRecord = write.offset >= bytes.size() - 128;
        EXPECT_TRUE(inTag || inRecord) << write.offset << "+" << write.size;
    }
    EXPECT_EQ(StatOf(path).st_ino, inode);
}

// The new file takes the old one's place behind the link (its mode and owner: SafeReplace).
TEST(TagSave, MovingSaveKeepsTheLink) {
    SaveHarness harness;
    std::filesystem::create_directory(harness.dir.Path("music"));
    const std::string bytes = TagBytes(10, Pattern(10)) + kAudio;
    const auto target = harness.dir.WriteFile("music/song.mp3", bytes);
    const auto link = harness.dir.Path("link.mp3");
    std::filesystem::create_symlink("music/song.mp3", link);
    const SaveJob job{.frames = P(500)};
    ASSERT_TRUE(SaveTags(harness.Request(link, job), harness.context));
    EXPECT_EQ(std::filesystem::read_symlink(link), "music/song.mp3");
    EXPECT_EQ(ScratchDirectory::ReadFile(target), harness.Expected(job, bytes));
    EXPECT_EQ(harness.dir.Names().size(), 2u);
}

// The save tests' model pads with PaddingFor too, so its figures are checked here by hand.
TEST(PaddingFor, AlignsTheWholeFileToFourKibibytes) {
    const std::array<std::uint32_t, 3> cases[] = {
        {1'000'000, 100, 3'410},  // T = 1,000,110; file grows to 1,003,520
        {4'086, 0, 4'096},        // T already aligned: a whole block
        {4'085, 0, 1},
        {0xFFFF'FFFF, 0, 4'087},  // 32-bit arithmetic: the low bits of the size still align
    };
    for (const auto& [afterTag, body, padding] : cases) {
        EXPECT_EQ(PaddingFor(afterTag, body), padding) << afterTag << "+" << body;
    }
}

TEST(PlanSave, RefusesATagTooLargeForItsSizeField) {
    TagSave save;
    save.id3v2Frames = std::vector<std::uint8_t>(kMaxTagSize, 'f');
    FileFacts facts;
    facts.size = 100;
    EXPECT_EQ(PlanSave(facts, save).outcome, SavePlan::Outcome::Refused);
}

// A tag whose declared size reaches into the ID3v1 record that the save keeps: padding would
// overwrite the record (a strip that would cut into it: StripOfATagPastTheEnd).
TEST(PlanSave, NeverPadsOverAKeptId3v1Record) {
    std::string file("ID3\3\0\0\0\0\1\x48", 10);  // declares 200 bytes
    file += std::string(100, 'x') + "TAG" + std::string(125, 'v');
    FileFacts facts;
    facts.size = file.size();
    std::copy_n(file.begin(), 10, facts.start.begin());
    facts.id3v1AtEnd = true;
    TagSave write;
    write.id3v2Frames = std::vector<std::uint8_t>(10, 'f');
    EXPECT_EQ(PlanSave(facts, write).outcome, SavePlan::Outcome::Refused);
}

// With and without kernel support for RENAME_NOREPLACE (without it, a hard link takes the
// new name and then the old one goes; the link cannot take a name that exists).
TEST(RenameNoReplace, NeverReplacesAnExistingFile) {
    for (const bool kernel : {true, false}) {
        for (const bool taken : {false, true}) {
            SCOPED_TRACE(::testing::Message() << "kernel " << kernel << " taken " << taken);
            ScratchDirectory dir;
            dir.WriteFile("old.mp3", "mine");
            if (taken) {
                dir.WriteFile("new.mp3", "theirs");
            }
            ReplaceFaults faults;
            if (!kernel) {
                faults.Fail(ReplaceStep::KernelNoReplace, 1, EINVAL);
            }
            ScopedReplaceFaults installed(faults);
            int error = -1;
            EXPECT_EQ(
                RenameNoReplace(testing::TextPath(dir.Root()), u"old.mp3", u"new.mp3", &error),
                !taken);
            EXPECT_EQ(error, taken ? EEXIST : 0);
            EXPECT_EQ(ScratchDirectory::ReadFile(dir.Path("old.mp3")), taken ? "mine" : "");
            EXPECT_EQ(ScratchDirectory::ReadFile(dir.Path("new.mp3")), taken ? "theirs" : "mine");
        }
    }
}

TEST(RenameNoReplace, NamesThatAreNotUtf8RenameLosslessly) {
    ScratchDirectory dir;
    dir.WriteFile("caf\xE9.mp3", "latin-1 name");
    EXPECT_TRUE(RenameNoReplace(testing::TextPath(dir.Root()), text::FileNameToText("caf\xE9.mp3"),
                                u"cafe.mp3"));
    EXPECT_EQ(ScratchDirectory::ReadFile(dir.Path("cafe.mp3")), "latin-1 name");
}

}  // namespace
}  // namespace velmora
