#include "scan/LoaderThread.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "TestMp3.h"
#include "settings/SettingNames.h"
#include "support/FakeSettingsKey.h"
#include "support/RecordingMessageSink.h"
#include "support/ScratchDirectory.h"
#include "tags/FrameTextOps.h"
#include "text/CodePage.h"
#include "text/FileName.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::TestMp3;

class LoaderThreadTest : public ::testing::Test {
  protected:
    void Write(const std::string& relative, const std::string& bytes) {
        fs::create_directories((scratch_.Root() / relative).parent_path());
        scratch_.WriteFile(relative, bytes);
    }
    std::u16string Root() const { return text::FileNameToText(scratch_.Root().string()); }

    std::vector<std::u16string> LoadedNames(LoaderThread& loader) {
        std::vector<std::u16string> names;
        for (const Mp3File* record : loader.Records().All())
            names.push_back(record->Name());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::u16string Title(const Mp3File& record) {
        return GetFrameText(record, "TIT2", FieldKind::Text, *codePage_).value_or(u"-");
    }

    testing::ScratchDirectory scratch_;
    testing::FakeSettingsKey settings_;
    std::unique_ptr<text::CodePage> codePage_ = text::CodePage::Create("CP1252");
    testing::RecordingMessageSink sink_;
    EngineContext context_{settings_, *codePage_, sink_};
};

TEST_F(LoaderThreadTest, SetDirectoryDropsOneTrailingSlashAndEveryRecord) {
    Write("a.mp3", TestMp3("A"));
    LoaderThread loader(context_);
    loader.SetDirectory(Root() + u"/");
    EXPECT_EQ(loader.Directory(), Root());
    loader.Start();
    loader.Join();
    ASSERT_EQ(loader.Records().Size(), 1u);

    loader.ResetList();
    EXPECT_EQ(loader.Records().Size(), 0u);
    EXPECT_EQ(loader.Directory(), Root());
    loader.SetDirectory(u"/");
    EXPECT_EQ(loader.Directory(), u"");
}

TEST_F(LoaderThreadTest, RecurseIsReadAtTheStartOfEachLoad) {
    Write("top.mp3", TestMp3("Top"));
    Write("sub/inner.MP3", TestMp3("Inner"));
    Write("notes.txt", "x");
    LoaderThread loader(context_);
    loader.SetDirectory(Root());
    loader.Start();
    loader.Join();
    EXPECT_EQ(LoadedNames(loader), (std::vector<std::u16string>{u"inner.MP3", u"top.mp3"}));

    settings_.WriteBool(settings::kRecurse, false);
    loader.ResetList();
    loader.Start();
    loader.Join();
    EXPECT_EQ(LoadedNames(loader), (std::vector<std::u16string>{u"top.mp3"}));
}

TEST_F(LoaderThreadTest, RecordsAreComplete) {
    Write("a.mp3", TestMp3("Alpha"));
    Write("broken.mp3", "");
    LoaderThread loader(context_);
    loader.SetDirectory(Root());
    loader.Start();
    loader.Join();
    ASSERT_EQ(loader.Records().Size(), 2u);
    for (const Mp3File* record : loader.Records().All()) {
        EXPECT_FALSE(record->NeedsSave());
        if (record->Name() == u"a.mp3") {
            EXPECT_EQ(Title(*record), u"Alpha");
            EXPECT_EQ(record->Bitrate(), 128);
            EXPECT_EQ(record->V1().Text(Id3v1Tag::kTitle), u"Alpha");
        } else {
            // A file that holds nothing is still a row.
            EXPECT_EQ(record->Bitrate(), 0);
        }
    }
}

// The window reads what was appended since its last visit while the worker goes on.
TEST_F(LoaderThreadTest, AReaderOnAnotherThreadSeesEveryRecordOnceInOrder) {
    constexpr int kFiles = 60;
    for (int i = 0; i < kFiles; ++i)
        Write("d" + std::to_string(i % 4) + "/f" + std::to_string(i) + ".mp3", TestMp3("T"));
    LoaderThread loader(context_);
    loader.SetDirectory(Root());
    ASSERT_TRUE(loader.Start());
    std::vector<const Mp3File*> seen;
    for (bool finished = false; !finished;) {
        finished = !loader.IsRunning();
        for (const Mp3File* record : loader.Records().From(seen.size()))
            seen.push_back(record);
    }
    loader.Join();
    ASSERT_EQ(seen.size(), static_cast<std::size_t>(kFiles));
    auto all = loader.Records().All();
    EXPECT_TRUE(std::equal(seen.begin(), seen.end(), all.begin()));
}

TEST_F(LoaderThreadTest, AMissingDirectoryLoadsNothingSilently) {
    LoaderThread loader(context_);
    loader.SetDirectory(Root() + u"/absent");
    loader.Start();
    loader.Join();
    EXPECT_EQ(loader.Records().Size(), 0u);
    EXPECT_TRUE(sink_.Shown().empty());
}

}  // namespace
}  // namespace velmora
