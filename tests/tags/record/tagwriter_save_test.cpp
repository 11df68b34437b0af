#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <string>

#include "common/SystemReason.h"
#include "replace/ReplaceFaults.h"
#include "tags/TagWriterTestSupport.h"
#include "tags/file/BufferedFileFaults.h"
#include "tags/record/Padding.h"
#include "tags/record/TagRegion.h"
#include "tags/record/TagSavePlan.h"

namespace velmora {
namespace {

using namespace testing;

// Several move chunks of audio, so failures land between chunks as well.
const std::string kAudio = Pattern(300'000, 7);
const std::string kOldRecord = "TAG" + Pattern(125, 3);
constexpr std::uint64_t kOldTime = 1'000'000;

std::string P(std::size_t size) {
    return Pattern(size, 9);
}

void SetOldTime(const std::filesystem::path& path) {
    const timespec times[2] = {{kOldTime, 0}, {kOldTime, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

// One way of making the nth step of a save fail: a file call, a replace step, or (neither)
// a short write followed by a failing one.
struct Fault {
    std::optional<FileCall> call{};
    std::optional<ReplaceStep> step{};
    int error = EIO;
};

const Fault kFaults[] = {
    {.call = FileCall::Write},
    {.call = FileCall::Read},
    {.call = FileCall::Sync},
    {.call = FileCall::Truncate},
    {.call = FileCall::Size},
    {.call = FileCall::Open},
    {.call = FileCall::Close},
    {},
    {.step = ReplaceStep::Rename},
    {.step = ReplaceStep::SyncDirectory},
    {.step = ReplaceStep::CreateTemporary},
    // A folder that takes no new files: the audio is not moved inside the file instead.
    {.step = ReplaceStep::CreateTemporary, .error = EACCES},
};

// Each save, with each step of it failing in turn: a save that moves the audio leaves the old
// file or the complete new one (the new one when it reports success), and an in-place save
// leaves every audio byte where it was. Once nothing fails, the save gives the model's bytes
// and leaves no temporary file (nor a file in place of a link it went through); one in place
// (`audioAt`: where its audio starts) writes only the tag and the record, in the same file, and a
// save with nothing to do opens nothing.
TEST(TagSave, GivesTheModelsBytesAndAFailingStepLeavesTheOldFileOrTheNewOne) {
    const std::string tagged = TagBytes(2048, Pattern(2048, 1)) + kAudio;
    const std::string both = tagged + kOldRecord;
    const std::string footerTag = TagBytes(500, Pattern(510, 2), 4, 0x10);
    const std::string large = TagBytes(8000, Pattern(8000, 1)) + kAudio + kOldRecord;
    constexpr std::size_t kMoves = std::string::npos;
    const struct {
        const char* name;
        std::string file;
        SaveJob job;
        std::size_t audioAt = kMoves;
        bool throughLink = false;  // saved through a link in another folder
    } cases[] = {
        {"NothingToDo", tagged, {}, 2058},
        {"InPlaceWithPadding", tagged, {.frames = P(1000)}, 2058},
        {"ExactFit", tagged, {.frames = P(2048)}, 2058},
        {"GrowsOldTag", both, {.frames = P(5000)}},
        {"GrowsOldTagWithId3v1Write", both, {.writeV1 = true, .frames = P(20'000)}},
        {"NewTagBeforeAudio", kAudio, {.frames = P(100), .version = 4}},
        {"MovesBehindALink", TagBytes(10, Pattern(10)) + kAudio, {.frames = P(500)}, kMoves, true},
        {"InPlaceWithId3v1Write", both, {.writeV1 = true, .frames = P(1000)}, 2058},
        {"LargeTagInPlace", large, {.writeV1 = true, .frames = P(7000)}, 8010},
        {"FooterTagInPlace", footerTag + kAudio, {.frames = P(505), .version = 4}, 520},
        {"Id3v22Replaced", TagBytes(300, Pattern(300, 4), 2) + kAudio, {.frames = P(20)}, 310},
        {"Id3v23HasNoFooter", TagBytes(500, P(500), 3, 0x10) + kAudio, {.frames = P(600)}},
        {"StripFooterTag", footerTag + kAudio, {.stripV2 = true}},
        {"StripBoth", both, {.stripV1 = true, .stripV2 = true}},
        {"StripTagThatEndsAtTheRecord", TagBytes(100, P(100)) + kOldRecord, {.stripV2 = true}},
        {"StripWinsOverFrames", tagged, {.stripV2 = true, .frames = P(9)}},
        {"Id3v1Appended", kAudio, {.writeV1 = true}, 0},
        {"Id3v1Overwritten", kAudio + kOldRecord, {.writeV1 = true}, 0},
        {"RecordOnlyFileGetsASecond", kOldRecord, {.writeV1 = true}, 0},
        {"EmptyId3v1AutoDeleted", kAudio + kOldRecord, {.writeV1 = true, .emptyV1 = true}, 0},
        {"Id3v1Stripped", kAudio + kOldRecord, {.stripV1 = true}, 0},
        {"TinyFileGetsRecordThenTag", "01234", {.writeV1 = true, .frames = P(50)}},
    };
    for (const auto& c : cases) {
        const std::string expected = SaveHarness().Expected(c.job, c.file);
        // What a save in place leaves alone: the bytes from the audio to the old ID3v1 record.
        const bool record =
            c.file.size() > 128 && c.file.compare(c.file.size() - 128, 3, "TAG") == 0;
        const std::string audio =
            c.audioAt == kMoves
                ? ""
                : c.file.substr(c.audioAt, c.file.size() - c.audioAt - (record ? 128 : 0));
        for (const Fault& fault : kFaults) {
            for (std::uint64_t nth = 1;; ++nth) {
                SCOPED_TRACE(::testing::Message()
                             << c.name << ", fault " << &fault - kFaults << " #" << nth);
                SaveHarness harness;
                const auto path = harness.dir.WriteFile("song.mp3", c.file);
                const auto link = harness.dir.Path("links/song.mp3");
                if (c.throughLink) {
                    std::filesystem::create_directory(harness.dir.Path("links"));
                    std::filesystem::create_symlink("../song.mp3", link);
                }
                SetOldTime(path);
                const ino_t inode = StatOf(path).st_ino;
                const TagSave request = harness.Request(c.throughLink ? link : path, c.job);
                FileFaults files;
                ReplaceFaults replaces;
                if (fault.step) {
                    replaces.Fail(*fault.step, nth, fault.error);
                } else if (fault.call) {
                    files.Fail(*fault.call, nth, fault.error);
                } else {
                    files.ShortenWrite(nth, 100);
                    files.Fail(FileCall::Write, nth + 1, ENOSPC);
                }
                bool saved = false;
                {
                    ScopedFileFaults installedFiles(files);
                    ScopedReplaceFaults installedReplaces(replaces);
                    saved = SaveTags(request, harness.context);
                }
                const std::string bytes = ScratchDirectory::ReadFile(path);
                EXPECT_EQ(harness.dir.Names().size(), c.throughLink ? 2u : 1u);
                if (c.audioAt == kMoves) {
                    EXPECT_EQ(bytes, saved ? expected : c.file);
                } else {
                    ASSERT_GE(bytes.size(), c.audioAt + audio.size());
                    EXPECT_EQ(bytes.compare(c.audioAt, audio.size(), audio), 0);
                }
                // Once the nth step no longer happens, nothing failed and the save succeeds.
                const auto count = fault.step ? replaces.Count(*fault.step)
                                              : files.Count(fault.call.value_or(FileCall::Write));
                if (count >= nth)
                    continue;
                EXPECT_EQ(std::tuple(saved, bytes, harness.messages.Texts().size(),
                                     std::filesystem::is_symlink(link)),
                          std::tuple(true, expected, 0u, c.throughLink));
                EXPECT_EQ(StatOf(path).st_mtim.tv_sec == kOldTime, !request.ChangesSomething());
                EXPECT_EQ(files.Count(FileCall::Open) == 0, !request.ChangesSomething());
                if (c.audioAt != kMoves) {
                    EXPECT_EQ(StatOf(path).st_ino, inode);
                    for (const auto& write : files.Writes()) {
                        const bool inRecord = write.offset + 128 >= c.file.size();
                        EXPECT_TRUE(write.offset + write.size <= c.audioAt || inRecord)
                            << write.offset;
                    }
                }
                break;
            }
        }
    }
}

const SaveJob kGrow = {.writeV1 = true, .frames = P(20'000)};

// A failed or refused save reports once and leaves the file exactly as it was. A tag that
// claims more than the file (or the bytes before the record) holds is not cut off: where its
// audio would start is a guess. A folder that takes no new files, whatever the system calls
// it, refuses a save that moves the audio.
TEST(TagSave, FailuresAreReportedAndKeepTheFile) {
    const std::u16string claims =
        u": its ID3v2 tag claims more bytes than the file holds, so it was not removed";
    const std::u16string notWritable =
        u": the folder * is not writable, so the audio cannot be moved safely";
    const std::string tagged = TagBytes(100, Pattern(100)) + kAudio;
    const struct {
        std::string file;  // empty: no file
        int createError;
        std::u16string after;  // the text after the path; '*' stands for the folder
        int reason;            // the errno of the cause shown, 0 for none
        SaveJob job = kGrow;
        const char16_t* before = u"Couldn't save ID3v2 tag to\n";
    } cases[] = {
        {TagBytes(900'000, Pattern(500)) + kAudio + kOldRecord, 0, u"", 0},
        {std::string("ID3\3\0\0\x80\0\0\0", 10) + kAudio, 0, u"", 0},
        // The ID3v1 step removes the record the old tag reaches into.
        {TagBytes(200, P(100)) + kOldRecord, 0, u"", 0},
        // Padding the tag in place would run over the record the save keeps.
        {TagBytes(200, P(100)) + kOldRecord, 0, u"", 0, {.frames = P(10)}},
        {tagged, ENOSPC, u": " + SystemReasonText(ENOSPC), ENOSPC},
        {"", 0, u": " + SystemReasonText(ENOENT), ENOENT, kGrow, u"Couldn't open\n"},
        {TagBytes(5000, P(100)), 0, claims, 0, {.stripV2 = true}},
        {TagBytes(200, P(100)) + kOldRecord, 0, claims, 0, {.stripV2 = true}},
        {tagged, EACCES, notWritable, 0},
        {tagged, EROFS, notWritable, 0},
        {tagged, EPERM, notWritable, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        SaveHarness harness;
        const auto path = harness.dir.Path("song.mp3");
        if (!c.file.empty()) {
            harness.dir.WriteFile("song.mp3", c.file);
            SetOldTime(path);
        }
        ReplaceFaults faults;
        faults.Fail(ReplaceStep::CreateTemporary, 1, c.createError);
        ScopedReplaceFaults installed(faults);
        EXPECT_FALSE(SaveTags(harness.Request(path, c.job), harness.context));
        std::u16string after = c.after;
        if (const auto star = after.find(u'*'); star != std::u16string::npos)
            after.replace(star, 1, TextPath(harness.dir.Root()));
        EXPECT_EQ(harness.messages.Texts(), std::vector{c.before + TextPath(path) + after});
        const Message shown = harness.messages.Shown().at(0);
        EXPECT_EQ(std::tuple(shown.caption, shown.cause.value(), ScratchDirectory::ReadFile(path),
                             StatOf(path).st_mtim.tv_sec),
                  std::tuple(u"Error", c.reason, c.file, c.file.empty() ? 0 : kOldTime));
    }
}

// The save tests' model pads with PaddingFor too, so its figures are checked here by hand;
// a tag too large for its size field is refused.
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
    TagSave save;
    save.id3v2Frames = std::vector<std::uint8_t>(kMaxTagSize, 'f');
    EXPECT_EQ(PlanSave(FileFacts{.size = 100}, save).outcome, SavePlan::Outcome::Refused);
}

}  // namespace
}  // namespace velmora
