#include "scan/SaveThread.h"

#include <gtest/gtest.h>

#include "scan/ScanTestSupport.h"

namespace velmora::testing {
namespace {

using SaveThreadTest = ScanFixture;

// b is not edited; d is edited but its file is gone, which must not stop the others.
TEST_F(SaveThreadTest, SavesOnlyTheRecordsThatNeedItAndGoesOnAfterAFailure) {
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3", "d.mp3"})
        scratch_.WriteFile(name, TestMp3(name));
    LoaderThread loader(context_);
    Load(loader);
    auto records = loader.Records().All();
    ASSERT_EQ(records.size(), 4u);
    std::sort(records.begin(), records.end(),
              [](auto* x, auto* y) { return x->Name() < y->Name(); });
    for (Mp3File* record : {records[0], records[2], records[3]})
        SetFrameText(*record, frame_ids::kTit2, u"New " + record->Name(), context_);
    const std::string untouched = scratch_.ReadFile(scratch_.Path("b.mp3"));
    std::filesystem::remove(scratch_.Path("d.mp3"));

    SaveThread saver(context_, loader.Records());
    ASSERT_TRUE(saver.Start());
    saver.Join();
    for (const char* name : {"a.mp3", "c.mp3"}) {
        Mp3File fresh(context_, Root(), text::FileNameToText(name));
        EXPECT_EQ(TextOf(fresh, "TIT2"), std::string("New ") + name);
    }
    EXPECT_EQ(scratch_.ReadFile(scratch_.Path("b.mp3")), untouched);
    EXPECT_FALSE(records[0]->NeedsSave() || records[2]->NeedsSave());
    EXPECT_TRUE(records[3]->NeedsSave());
    EXPECT_EQ(engine_.messages.Shown().size(), 1u);
    // A second pass counts the failure.
    EXPECT_EQ(SaveThread::SaveAll(context_, loader.Records()), 1u);
}

}  // namespace
}  // namespace velmora::testing
