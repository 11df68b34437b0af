#include <gtest/gtest.h>

#include "FileTestHelpers.h"
#include "Id3v1TestRecords.h"
#include "settings/SettingNames.h"
#include "support/FakeSettingsKey.h"
#include "support/ScratchDirectory.h"
#include "tags/BufferedFile.h"
#include "tags/Id3v1File.h"
#include "text/CodePage.h"

namespace velmora {
namespace {

using testing::AsBytes;
using testing::RecordWith;
using testing::ScratchDirectory;

const std::string kAudio = testing::Pattern(1000, 3);
const std::string kOld = AsBytes(RecordWith({{3, "Old title"}}));
const std::string kNew = AsBytes(RecordWith({{3, "New title"}, {126, "\x04"}}));

class Id3v1FileTest : public ::testing::Test {
  protected:
    // Writes `bytes` as the song and opens it.
    void Open(const std::string& bytes, unsigned mode) {
        file_.Close();
        testing::OpenOrFail(file_, dir_.WriteFile("song.mp3", bytes), mode);
    }
    std::string Contents() {
        file_.Close();
        return ScratchDirectory::ReadFile(dir_.Path("song.mp3"));
    }
    // The tag as the editor leaves it: modified, empty or holding the new title and track 4.
    static Id3v1Tag Edited(bool empty) {
        Id3v1Tag tag = empty ? Id3v1Tag() : testing::MakeId3v1({u"New title"}, 4);
        tag.SetModified(true);
        return tag;
    }

    const std::unique_ptr<text::CodePage> codePage_ = text::CodePage::Create("CP1252");
    testing::FakeSettingsKey settings_;
    ScratchDirectory dir_;
    BufferedFile file_;
};

TEST_F(Id3v1FileTest, ReadsOnlyATagInTheLast128Bytes) {
    const std::pair<std::string, std::u16string> cases[] = {
        {"", u"keep"},        {kOld.substr(0, 127), u"keep"}, {kAudio, u"keep"},
        {kOld, u"Old title"}, {kAudio + kOld, u"Old title"},  {kOld + kAudio, u"keep"},
    };
    for (const auto& [bytes, title] : cases) {
        Open(bytes, testing::kLoadMode);
        Id3v1Tag tag = testing::MakeId3v1({u"keep"});
        ReadId3v1(file_, tag, *codePage_);
        EXPECT_EQ(tag.Text(Id3v1Tag::kTitle), title) << bytes.size();
    }
}

TEST_F(Id3v1FileTest, WriteStepWritesOverwritesOrRemoves) {
    struct Case {
        std::string before;
        bool emptyTag;
        bool autoDelete;
        std::string after;
    };
    const Case cases[] = {
        {kAudio + kOld, false, false, kAudio + kNew},
        {kOld, false, false, kOld + kNew},  // 128 bytes or less: never overwritten
        {"abc", false, false, "abc" + kNew},
        {kAudio + kOld, true, true, kAudio},
        {kOld, true, true, kOld},
        {kAudio + kOld, true, false, kAudio + AsBytes(RecordWith())},
    };
    for (const Case& c : cases) {
        settings_.WriteBool(settings::kAutoDeleteV1, c.autoDelete);
        Id3v1Tag tag = Edited(c.emptyTag);
        Open(c.before, testing::kSaveMode);
        WriteId3v1Step(tag, file_, *codePage_, settings_);
        EXPECT_EQ(Contents(), c.after) << &c - cases;
        EXPECT_FALSE(tag.IsModified());
    }
}

TEST_F(Id3v1FileTest, StripCutsOffATagAfterAudio) {
    const std::pair<std::string, std::string> cases[] = {
        {kAudio + kOld, kAudio}, {"x" + kOld, "x"}, {kOld, kOld}, {kAudio, kAudio}, {"", ""}};
    for (const auto& [before, after] : cases) {
        Open(before, testing::kSaveMode);
        StripId3v1(file_);
        EXPECT_EQ(Contents(), after) << before.size();
    }
}

}  // namespace
}  // namespace velmora
