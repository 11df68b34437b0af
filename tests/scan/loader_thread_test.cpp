#include "scan/LoaderThread.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "scan/ScanTestSupport.h"
#include "settings/SettingNames.h"

namespace velmora::testing {
namespace {

using LoaderThreadTest = ScanFixture;

std::vector<std::u16string> LoadedNames(LoaderThread& loader) {
    std::vector<std::u16string> names;
    for (const Mp3File* record : loader.Records().All())
        names.push_back(record->Name());
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(LoaderThreadTest, RecordsAreCompleteAndRecurseIsReadAtEachLoad) {
    Write("top.mp3", TestMp3("Top"));
    Write("sub/inner.MP3", "");  // a file that holds nothing is still a row
    Write("notes.txt", "x");
    LoaderThread loader(context_);
    loader.SetDirectory(u"/");
    EXPECT_EQ(loader.Directory(), u"");
    loader.SetDirectory(Root() + u"/absent");  // a missing folder loads nothing, silently
    loader.Start();
    loader.Join();
    EXPECT_EQ(loader.Records().Size(), 0u);
    EXPECT_TRUE(engine_.messages.Shown().empty());

    loader.SetDirectory(Root() + u"/");
    EXPECT_EQ(loader.Directory(), Root());
    loader.Start();
    loader.Join();
    EXPECT_EQ(LoadedNames(loader), (std::vector<std::u16string>{u"inner.MP3", u"top.mp3"}));
    for (const Mp3File* record : loader.Records().All()) {
        EXPECT_FALSE(record->NeedsSave());
        const bool top = record->Name() == u"top.mp3";
        EXPECT_EQ(record->Bitrate(), top ? 128 : 0);
        EXPECT_EQ(record->V1().Text(Id3v1Tag::kTitle), top ? u"Top" : u"");
    }

    engine_.settings.WriteBool(settings::kRecurse, false);
    loader.ResetList();
    Load(loader);
    EXPECT_EQ(LoadedNames(loader), (std::vector<std::u16string>{u"top.mp3"}));
}

// The window reads what was appended since its last visit while the worker goes on.
TEST_F(LoaderThreadTest, AReaderOnAnotherThreadSeesEveryRecordOnceInOrder) {
    constexpr int kFiles = 60;
    for (int i = 0; i < kFiles; ++i)
        Write("d" + std::to_string(i % 4) + "/f" + std::to_string(i) + ".mp3", TestMp3("T"));
    LoaderThread loader(context_);
    loader.SetDirectory(Root());
    ASSERT_TRUE(loader.Start());
    std::vector<Mp3File*> seen;
    for (bool finished = false; !finished;) {
        finished = !loader.IsRunning();
        for (Mp3File* record : loader.Records().From(seen.size()))
            seen.push_back(record);
    }
    loader.Join();
    EXPECT_EQ(seen.size(), static_cast<std::size_t>(kFiles));
    EXPECT_EQ(seen, loader.Records().All());
}

}  // namespace
}  // namespace velmora::testing
