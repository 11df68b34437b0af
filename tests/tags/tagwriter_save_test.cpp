#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "TagWriterTestSupport.h"
#include "tags/BufferedFileFaults.h"
#include "tags/ReplaceFaults.h"

namespace velmora {
namespace {

using testing::Pattern;
using testing::TagBytes;

const std::string kAudio = Pattern(300'000, 7);
const std::string kOldRecord = "TAG" + Pattern(125, 3);

struct SaveCase {
    const char* name;
    std::string file;
    bool stripV1 = false;
    bool writeV1 = false;
    bool emptyV1 = false;  // with AutoDeleteV1 set
    bool stripV2 = false;
    std::optional<std::string> frames{};
    char version = 3;

    SaveCase Frames(std::string bytes, char major = 3) const {
        SaveCase c = *this;
        c.frames = std::move(bytes);
        c.version = major;
        return c;
    }
    SaveCase StripV1() const {
        SaveCase c = *this;
        c.stripV1 = true;
        return c;
    }
    SaveCase WriteV1(bool empty = false) const {
        SaveCase c = *this;
        c.writeV1 = true;
        c.emptyV1 = empty;
        return c;
    }
    SaveCase StripV2() const {
        SaveCase c = *this;
        c.stripV2 = true;
        return c;
    }
};

std::vector<SaveCase> SaveCases() {
    const std::string tag2048 = TagBytes(2048, Pattern(2048, 1));
    const std::string footerTag = TagBytes(500, Pattern(510, 2), 4, 0x10);
    const std::string tagged = tag2048 + kAudio;
    const std::string bothTags = tag2048 + kAudio + kOldRecord;
    return {
        SaveCase{"InPlaceWithPadding", tagged}.Frames(Pattern(1000, 9)),
        SaveCase{"ExactFitNoPadding", tagged}.Frames(Pattern(2048, 9)),
        SaveCase{"EmptyFrameListInPlace", tagged}.Frames(""),
        SaveCase{"EmptyFrameListNewTag", kAudio}.Frames(""),
        SaveCase{"GrowsOldTag", bothTags}.Frames(Pattern(5000, 9)),
        SaveCase{"NewTagBeforeAudio", kAudio}.Frames(Pattern(100, 9), 4),
        SaveCase{"GrowWithId3v1Write", bothTags}.WriteV1().Frames(Pattern(9000, 9)),
        SaveCase{"GrowWithId3v1Strip", bothTags}.StripV1().Frames(Pattern(9000, 9)),
        SaveCase{"InPlaceWithId3v1Append", tagged}.WriteV1().Frames(Pattern(10, 9), 4),
        SaveCase{"FooterTagInPlace", footerTag + kAudio}.Frames(Pattern(505, 9), 4),
        SaveCase{"FooterTagGrows", footerTag + kAudio}.Frames(Pattern(600, 9)),
        SaveCase{"Id3v22TagReplaced", TagBytes(300, Pattern(300, 4), 2) + kAudio}.Frames(
            Pattern(20, 9)),
        SaveCase{"StripId3v2", bothTags}.StripV2(),
        SaveCase{"StripFooterTag", footerTag + kAudio}.StripV2(),
        SaveCase{"StripBothTags", bothTags}.StripV1().StripV2(),
        SaveCase{"StripId3v2WriteId3v1", tagged}.WriteV1().StripV2(),
        SaveCase{"StripWinsOverFrames", tagged}.StripV2().Frames(Pattern(9, 9)),
        SaveCase{"Id3v1Overwritten", kAudio + kOldRecord}.WriteV1(),
        SaveCase{"Id3v1Appended", kAudio}.WriteV1(),
        SaveCase{"EmptyId3v1AutoDeleted", kAudio + kOldRecord}.WriteV1(true),
        SaveCase{"Id3v1Stripped", kAudio + kOldRecord}.StripV1(),
        SaveCase{"TinyFileGetsNoTag", "0123456789"}.Frames(Pattern(50, 9)),
        SaveCase{"TinyFileGetsRecordThenTag", "01234"}.WriteV1().Frames(Pattern(50, 9)),
    };
}

template <typename Info>
std::string CaseName(const Info& param) {
    return param.param.name;
}

class TagSaveCaseTest : public ::testing::TestWithParam<SaveCase> {};

TEST_P(TagSaveCaseTest, GivesTheModelsBytes) {
    const SaveCase& c = GetParam();
    testing::SaveHarness harness;
    const auto path = harness.dir.WriteFile("song.mp3", c.file);
    Id3v1Tag v1 = c.emptyV1 ? Id3v1Tag() : testing::SampleId3v1();
    harness.settings.WriteBool(settings::kAutoDeleteV1, c.emptyV1);

    TagSaveRequest request = harness.Request(path);
    request.stripV1 = c.stripV1;
    request.writeV1 = c.writeV1 ? &v1 : nullptr;
    request.stripV2 = c.stripV2;
    if (c.frames) {
        request.v2Frames = testing::Bytes(*c.frames);
    }
    request.v2Version = static_cast<std::uint8_t>(c.version);

    testing::ModelSave model;
    model.stripV1 = c.stripV1;
    model.stripV2 = c.stripV2;
    model.frames = c.frames;
    model.version = c.version;
    if (c.writeV1) {
        model.v1Record = c.emptyV1 ? "" : testing::Id3v1Bytes(EncodeId3v1(v1, *harness.codePage));
    }

    EXPECT_TRUE(SaveTags(request, harness.context));
    EXPECT_EQ(testing::ScratchDirectory::ReadFile(path), model.Apply(c.file));
    EXPECT_TRUE(harness.messages.Shown().empty());
    // No temporary file stays behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(harness.dir.Root()), {}), 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, TagSaveCaseTest, ::testing::ValuesIn(SaveCases()),
                         CaseName<::testing::TestParamInfo<SaveCase>>);

TEST(TagSaveTest, KnownSizesOfTheTwoMainCases) {
    testing::SaveHarness harness;
    const auto untagged = harness.dir.WriteFile("a.mp3", Pattern(1'000'000));
    TagSaveRequest grow = harness.Request(untagged);
    grow.v2Frames = testing::Bytes(Pattern(100, 5));
    ASSERT_TRUE(SaveTags(grow, harness.context));
    EXPECT_EQ(std::filesystem::file_size(untagged), 1'003'520u);

    const std::string tagged = TagBytes(2048, Pattern(2048)) + kAudio;
    const auto inPlace = harness.dir.WriteFile("b.mp3", tagged);
    TagSaveRequest rewrite = harness.Request(inPlace);
    rewrite.v2Frames = testing::Bytes(Pattern(1000, 5));
    ASSERT_TRUE(SaveTags(rewrite, harness.context));
    const std::string after = testing::ScratchDirectory::ReadFile(inPlace);
    EXPECT_EQ(after.size(), tagged.size());
    EXPECT_EQ(after.substr(1010, 1048), std::string(1048, '\0'));
    EXPECT_EQ(after.substr(0, 10), TagBytes(2048, ""));
}

void SetOldTime(const std::filesystem::path& path) {
    const timespec times[2] = {{1'000'000, 0}, {1'000'000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

TEST(TagSaveTest, NothingToDoTouchesNothing) {
    testing::SaveHarness harness;
    const std::string bytes = TagBytes(100, Pattern(100)) + kAudio;
    const auto path = harness.dir.WriteFile("song.mp3", bytes);
    SetOldTime(path);
    FileFaults faults;
    ScopedFileFaults installed(faults);
    EXPECT_TRUE(SaveTags(harness.Request(path), harness.context));
    EXPECT_EQ(faults.Count(FileCall::Open), 0u);
    EXPECT_EQ(testing::StatOf(path).st_mtim.tv_sec, 1'000'000);
    EXPECT_EQ(testing::ScratchDirectory::ReadFile(path), bytes);
}

TEST(TagSaveTest, DeclaredSizePastTheEndIsRefusedAndTheFileKept) {
    testing::SaveHarness harness;
    const std::string bytes = TagBytes(900'000, Pattern(500)) + kAudio + kOldRecord;
    const auto path = harness.dir.WriteFile("song.mp3", bytes);
    SetOldTime(path);
    const Id3v1Tag v1 = testing::SampleId3v1();
    TagSaveRequest request = harness.Request(path);
    request.writeV1 = &v1;
    request.v2Frames = testing::Bytes(Pattern(10));
    EXPECT_FALSE(SaveTags(request, harness.context));
    ASSERT_EQ(harness.messages.Shown().size(), 1u);
    const Message shown = harness.messages.Shown()[0];
    EXPECT_EQ(shown.text, harness.SaveFailure(path));
    EXPECT_EQ(shown.caption, u"Error");
    EXPECT_EQ(shown.icon, MessageIcon::Error);
    EXPECT_EQ(testing::ScratchDirectory::ReadFile(path), bytes);
    EXPECT_EQ(testing::StatOf(path).st_mtim.tv_sec, 1'000'000);
}

TEST(TagSaveTest, StrippingAnOversizedTagChangesNothingSilently) {
    testing::SaveHarness harness;
    const std::string bytes = TagBytes(900'000, Pattern(500)) + kAudio;
    const auto path = harness.dir.WriteFile("song.mp3", bytes);
    TagSaveRequest request = harness.Request(path);
    request.stripV2 = true;
    EXPECT_TRUE(SaveTags(request, harness.context));
    EXPECT_TRUE(harness.messages.Shown().empty());
    EXPECT_EQ(testing::ScratchDirectory::ReadFile(path), bytes);
}

TEST(TagSaveTest, MissingFileReportsCouldntOpen) {
    testing::SaveHarness harness;
    TagSaveRequest request = harness.Request(harness.dir.Path("gone.mp3"));
    request.stripV2 = true;
    EXPECT_FALSE(SaveTags(request, harness.context));
    ASSERT_EQ(harness.messages.Shown().size(), 1u);
    EXPECT_EQ(harness.messages.Shown()[0].text, u"Couldn't open\n" + request.path);
    EXPECT_EQ(harness.messages.Shown()[0].caption, u"Error");
}

// Which bytes of the file a save wrote, as offsets of the system's write calls.
TEST(TagSaveTest, InPlaceSaveWritesOnlyTheTagAndTheRecord) {
    testing::SaveHarness harness;
    const std::string bytes = TagBytes(4096, Pattern(4096)) + kAudio + kOldRecord;
    const auto path = harness.dir.WriteFile("song.mp3", bytes);
    const ino_t inode = testing::StatOf(path).st_ino;
    const Id3v1Tag v1 = testing::SampleId3v1();
    TagSaveRequest request = harness.Request(path);
    request.writeV1 = &v1;
    request.v2Frames = testing::Bytes(Pattern(3000, 1));
    FileFaults faults;
    {
        ScopedFileFaults installed(faults);
        ASSERT_TRUE(SaveTags(request, harness.context));
    }
    for (const auto& write : faults.Writes()) {
        const bool inTag = write.offset + write.size <= 4106;
        const bool inRecord = write.offset >= bytes.size() - 128;
        EXPECT_TRUE(inTag || inRecord) << write.offset << "+" << write.size;
    }
    EXPECT_EQ(testing::StatOf(path).st_ino, inode);
}

TEST(TagSaveTest, MovingSaveKeepsPermissionsAndOwner) {
    testing::SaveHarness harness;
    const auto path = harness.dir.WriteFile("song.mp3", TagBytes(10, Pattern(10)) + kAudio);
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(path.c_str(), 1234, 5678), 0);
    }
    TagSaveRequest request = harness.Request(path);
    request.v2Frames = testing::Bytes(Pattern(500));
    ASSERT_TRUE(SaveTags(request, harness.context));
    struct stat after = testing::StatOf(path);
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(after.st_uid, 1234u);
        EXPECT_EQ(after.st_gid, 5678u);
    }
}

TEST(TagSaveTest, SymbolicLinkStaysALinkToTheNewContent) {
    testing::SaveHarness harness;
    std::filesystem::create_directory(harness.dir.Path("music"));
    std::filesystem::create_directory(harness.dir.Path("links"));
    const std::string bytes = TagBytes(10, Pattern(10)) + kAudio;
    const auto target = harness.dir.WriteFile("music/song.mp3", bytes);
    const auto link = harness.dir.Path("links/song.mp3");
    std::filesystem::create_symlink("../music/song.mp3", link);

    TagSaveRequest request = harness.Request(link);
    request.v2Frames = testing::Bytes(Pattern(500));
    ASSERT_TRUE(SaveTags(request, harness.context));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(std::filesystem::read_symlink(link), "../music/song.mp3");
    testing::ModelSave model;
    model.frames = Pattern(500);
    EXPECT_EQ(testing::ScratchDirectory::ReadFile(target), model.Apply(bytes));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(harness.dir.Path("music")), {}), 1);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(harness.dir.Path("links")), {}), 1);
}

struct FallbackCase {
    const char* name;
    bool stripV2;
};

class TagSaveFallbackTest : public ::testing::TestWithParam<FallbackCase> {};

// A folder that takes no new file: the audio is moved inside the file, to the same bytes.
TEST_P(TagSaveFallbackTest, MovesInPlaceWhenNoFileCanBeCreated) {
    testing::SaveHarness harness;
    const std::string bytes = TagBytes(100, Pattern(100)) + kAudio + kOldRecord;
    const auto path = harness.dir.WriteFile("song.mp3", bytes);
    const ino_t inode = testing::StatOf(path).st_ino;
    const Id3v1Tag v1 = testing::SampleId3v1();
    TagSaveRequest request = harness.Request(path);
    request.writeV1 = &v1;
    request.stripV2 = GetParam().stripV2;
    request.v2Frames = testing::Bytes(Pattern(20'000));
    ReplaceFaults faults;
    faults.Fail(ReplaceStep::CreateTemporary, 1, EACCES);
    {
        ScopedReplaceFaults installed(faults);
        ASSERT_TRUE(SaveTags(request, harness.context));
    }
    testing::ModelSave model;
    model.v1Record = testing::Id3v1Bytes(EncodeId3v1(v1, *harness.codePage));
    model.stripV2 = request.stripV2;
    model.frames = Pattern(20'000);
    EXPECT_EQ(testing::ScratchDirectory::ReadFile(path), model.Apply(bytes));
    EXPECT_EQ(testing::StatOf(path).st_ino, inode);
}

INSTANTIATE_TEST_SUITE_P(Saves, TagSaveFallbackTest,
                         ::testing::Values(FallbackCase{"Grow", false},
                                           FallbackCase{"Strip", true}),
                         CaseName<::testing::TestParamInfo<FallbackCase>>);

TEST(TagSaveTest, OtherFailureToCreateTheNewFileKeepsTheOldOne) {
    testing::SaveHarness harness;
    const std::string bytes = TagBytes(100, Pattern(100)) + kAudio;
    const auto path = harness.dir.WriteFile("song.mp3", bytes);
    TagSaveRequest request = harness.Request(path);
    request.v2Frames = testing::Bytes(Pattern(20'000));
    ReplaceFaults faults;
    faults.Fail(ReplaceStep::CreateTemporary, 1, ENOSPC);
    ScopedReplaceFaults installed(faults);
    EXPECT_FALSE(SaveTags(request, harness.context));
    EXPECT_EQ(harness.messages.Texts(), std::vector{harness.SaveFailure(path)});
    EXPECT_EQ(testing::ScratchDirectory::ReadFile(path), bytes);
}

}  // namespace
}  // namespace velmora
