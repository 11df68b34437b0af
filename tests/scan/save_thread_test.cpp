#include "scan/SaveThread.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "TestMp3.h"
#include "scan/LoaderThread.h"
#include "support/FakeSettingsKey.h"
#include "support/RecordingMessageSink.h"
#include "support/ScratchDirectory.h"
#include "tags/FrameTextOps.h"
#include "text/CodePage.h"
#include "text/FileName.h"

namespace velmora {
namespace {

using testing::TestMp3;

class SaveThreadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"a.mp3", "b.mp3", "c.mp3"})
            scratch_.WriteFile(name, TestMp3(std::string("Old ") + name));
        loader_.SetDirectory(text::FileNameToText(scratch_.Root().string()));
        loader_.Start();
        loader_.Join();
    }

    Mp3File& Record(std::u16string_view name) {
        for (Mp3File* record : loader_.Records().All()) {
            if (record->Name() == name)
                return *record;
        }
        throw std::runtime_error("no such record");
    }

    std::u16string TitleOnDisk(const char* name) {
        Mp3File fresh(context_, text::FileNameToText(scratch_.Root().string()),
                      text::FileNameToText(name));
        return GetFrameText(fresh, "TIT2", FieldKind::Text, *codePage_).value_or(u"-");
    }

    testing::ScratchDirectory scratch_;
    testing::FakeSettingsKey settings_;
    std::unique_ptr<text::CodePage> codePage_ = text::CodePage::Create("CP1252");
    testing::RecordingMessageSink sink_;
    EngineContext context_{settings_, *codePage_, sink_};
    LoaderThread loader_{context_};
};

TEST_F(SaveThreadTest, SavesOnlyTheRecordsThatNeedIt) {
    SetFrameText(Record(u"a.mp3"), "TIT2", u"New a", context_);
    SetFrameText(Record(u"c.mp3"), "TIT2", u"New c", context_);
    const std::string untouched = scratch_.ReadFile(scratch_.Path("b.mp3"));

    SaveThread saver(context_, loader_.Records());
    ASSERT_TRUE(saver.Start());
    saver.Join();
    EXPECT_FALSE(saver.IsRunning());

    EXPECT_EQ(TitleOnDisk("a.mp3"), u"New a");
    EXPECT_EQ(TitleOnDisk("c.mp3"), u"New c");
    EXPECT_EQ(scratch_.ReadFile(scratch_.Path("b.mp3")), untouched);
    for (const Mp3File* record : loader_.Records().All())
        EXPECT_FALSE(record->NeedsSave());
    EXPECT_TRUE(sink_.Shown().empty());
}

TEST_F(SaveThreadTest, AFailedSaveDoesNotStopTheOthers) {
    for (Mp3File* record : loader_.Records().All())
        SetFrameText(*record, "TIT2", u"New", context_);
    std::filesystem::remove(scratch_.Path("b.mp3"));

    EXPECT_EQ(SaveThread::SaveAll(context_, loader_.Records()), 1u);
    EXPECT_EQ(TitleOnDisk("a.mp3"), u"New");
    EXPECT_EQ(TitleOnDisk("c.mp3"), u"New");
    EXPECT_TRUE(Record(u"b.mp3").NeedsSave());
    EXPECT_EQ(sink_.Shown().size(), 1u);
}

}  // namespace
}  // namespace velmora
