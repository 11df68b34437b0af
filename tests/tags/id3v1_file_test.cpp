#include <gtest/gtest.h>

#include <cerrno>

#include "support/FakeSettingsKey.h"
#include "FileTestHelpers.h"
#include "Id3v1TestRecords.h"
#include "settings/SettingNames.h"
#include "support/ScratchDirectory.h"
#include "tags/BufferedFile.h"
#include "tags/BufferedFileFaults.h"
#include "tags/Id3v1File.h"
#include "tags/Id3v1Record.h"
#include "tags/Id3v1Tag.h"
#include "text/CodePage.h"

namespace velmora {
namespace {

using testing::AsBytes;
using testing::BlankId3v1;
using testing::Put;
using testing::ScratchDirectory;

class Id3v1FileTest : public ::testing::Test {
  protected:
    std::filesystem::path Make(const std::string& bytes) {
        return dir_.WriteFile("song.mp3", bytes);
    }
    std::string Contents() const { return ScratchDirectory::ReadFile(dir_.Path("song.mp3")); }

    const std::unique_ptr<text::CodePage> codePage_ = text::CodePage::Create("CP1252");
    ScratchDirectory dir_;
};

const std::string kAudio = testing::Pattern(1000, 3);

std::string OldTag() {
    Id3v1Record record = BlankId3v1();
    return AsBytes(Put(record, 3, "Old title"));
}

Id3v1Tag NewTag() {
    Id3v1Tag tag;
    tag.SetText(Id3v1Tag::kTitle, u"New title");
    tag.SetTrack(4);
    return tag;
}

std::string NewTagBytes() {
    Id3v1Record record = BlankId3v1();
    Put(record, 3, "New title");
    record[126] = 4;
    return AsBytes(record);
}

struct ReadCase {
    const char* name;
    std::string contents;
    std::u16string title;  // "keep" when the tag must stay as it was
};

class ReadId3v1Test : public Id3v1FileTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(ReadId3v1Test, ReadsOnlyATagInTheLast128Bytes) {
    const ReadCase& c = GetParam();
    BufferedFile file;
    testing::OpenOrFail(file, Make(c.contents), testing::kLoadMode);
    Id3v1Tag tag;
    tag.SetText(Id3v1Tag::kTitle, u"keep");
    ReadId3v1(file, tag, *codePage_);
    EXPECT_EQ(tag.Text(Id3v1Tag::kTitle), c.title);
}

INSTANTIATE_TEST_SUITE_P(Id3v1, ReadId3v1Test,
                         ::testing::Values(ReadCase{"EmptyFile", "", u"keep"},
                                           ReadCase{"ShorterThanATag", OldTag().substr(0, 127),
                                                    u"keep"},
                                           ReadCase{"NoMagic", kAudio, u"keep"},
                                           ReadCase{"TagOnly", OldTag(), u"Old title"},
                                           ReadCase{"AudioAndTag", kAudio + OldTag(), u"Old title"},
                                           ReadCase{"TagNotAtTheEnd", OldTag() + kAudio, u"keep"}),
                         [](const auto& p) { return std::string(p.param.name); });

struct WriteCase {
    const char* name;
    std::string before;
    bool emptyTag;
    bool autoDelete;
    std::string after;
};

class WriteId3v1Test : public Id3v1FileTest, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(WriteId3v1Test, WritesOverwritesOrRemoves) {
    const WriteCase& c = GetParam();
    testing::FakeSettingsKey settings;
    settings.WriteBool(settings::kAutoDeleteV1, c.autoDelete);
    Id3v1Tag tag = c.emptyTag ? Id3v1Tag() : NewTag();
    tag.SetModified(true);
    BufferedFile file;
    testing::OpenOrFail(file, Make(c.before), testing::kSaveMode);
    WriteId3v1Step(tag, file, *codePage_, settings);
    file.Close();
    EXPECT_EQ(Contents(), c.after);
    EXPECT_FALSE(tag.IsModified());
}

const std::string kBlank = AsBytes(BlankId3v1());

INSTANTIATE_TEST_SUITE_P(
    Id3v1, WriteId3v1Test,
    ::testing::Values(
        WriteCase{"AppendsWithoutOldTag", kAudio, false, false, kAudio + NewTagBytes()},
        WriteCase{"OverwritesOldTag", kAudio + OldTag(), false, false, kAudio + NewTagBytes()},
        WriteCase{"TagOnlyFileGetsASecondTag", OldTag(), false, false, OldTag() + NewTagBytes()},
        WriteCase{"ShortFile", "abc", false, false, "abc" + NewTagBytes()},
        WriteCase{"EmptyFile", "", false, false, NewTagBytes()},
        WriteCase{"AutoDeleteRemovesOldTag", kAudio + OldTag(), true, true, kAudio},
        WriteCase{"AutoDeleteWithoutOldTagChangesNothing", kAudio, true, true, kAudio},
        WriteCase{"AutoDeleteKeepsATagOnlyFile", OldTag(), true, true, OldTag()},
        WriteCase{"AutoDeleteOffWritesTheEmptyTag", kAudio + OldTag(), true, false,
                  kAudio + kBlank},
        WriteCase{"AutoDeleteLeavesNonEmptyTags", kAudio + OldTag(), false, true,
                  kAudio + NewTagBytes()}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(Id3v1FileTest, UnmodifiedTagIsNotWritten) {
    testing::FakeSettingsKey settings;
    Id3v1Tag tag = NewTag();
    tag.SetModified(false);
    FileFaults faults;
    ScopedFileFaults installed(faults);
    BufferedFile file;
    testing::OpenOrFail(file, Make(kAudio + OldTag()), testing::kSaveMode);
    WriteId3v1Step(tag, file, *codePage_, settings);
    file.Close();
    EXPECT_EQ(faults.Count(FileCall::Write), 0u);
    EXPECT_EQ(Contents(), kAudio + OldTag());
}

// A failed write must leave the tag modified, or the next save would skip it and the edit
// would be lost.
TEST_F(Id3v1FileTest, FailedWriteKeepsTheTagModifiedForTheNextSave) {
    struct Case {
        const char* name;
        FileCall call;
        bool emptyTag;
    };
    const Case cases[] = {
        {"write", FileCall::Write, false},
        {"size", FileCall::Size, false},
        {"read", FileCall::Read, false},
        {"truncate", FileCall::Truncate, true},
    };
    for (const Case& c : cases) {
        testing::FakeSettingsKey settings;
        settings.WriteBool(settings::kAutoDeleteV1, true);
        Id3v1Tag tag = c.emptyTag ? Id3v1Tag() : NewTag();
        tag.SetModified(true);
        const auto path = Make(kAudio + OldTag());
        {
            FileFaults faults;
            faults.Fail(c.call, 1, ENOSPC, /*andLater=*/true);
            ScopedFileFaults installed(faults);
            BufferedFile file;
            testing::OpenOrFail(file, path, testing::kSaveMode);
            EXPECT_THROW(WriteId3v1Step(tag, file, *codePage_, settings), CFileExceptionEx)
                << c.name;
            EXPECT_TRUE(tag.IsModified()) << c.name;
        }
        EXPECT_EQ(Contents(), kAudio + OldTag()) << c.name;
        BufferedFile file;
        testing::OpenOrFail(file, path, testing::kSaveMode);
        WriteId3v1Step(tag, file, *codePage_, settings);
        file.Close();
        EXPECT_EQ(Contents(), kAudio + (c.emptyTag ? "" : NewTagBytes())) << c.name;
    }
}

struct StripCase {
    const char* name;
    std::string before;
    std::string after;
};

class StripId3v1Test : public Id3v1FileTest, public ::testing::WithParamInterface<StripCase> {};

TEST_P(StripId3v1Test, CutsOffATagAfterAudio) {
    const StripCase& c = GetParam();
    BufferedFile file;
    testing::OpenOrFail(file, Make(c.before), testing::kSaveMode);
    StripId3v1(file);
    file.Close();
    EXPECT_EQ(Contents(), c.after);
}

INSTANTIATE_TEST_SUITE_P(Id3v1, StripId3v1Test,
                         ::testing::Values(StripCase{"AudioAndTag", kAudio + OldTag(), kAudio},
                                           StripCase{"OneByteAndTag", "x" + OldTag(), "x"},
                                           StripCase{"TagOnlyFileIsLeftAlone", OldTag(), OldTag()},
                                           StripCase{"NoTag", kAudio, kAudio},
                                           StripCase{"EmptyFile", "", ""}),
                         [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace velmora
