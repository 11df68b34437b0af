#include <gtest/gtest.h>

#include "batch/TrackNumbering.h"
#include "tags/Id3v2TestSupport.h"

namespace velmora::testing {
namespace {

using batch::RowStateChange;

constexpr RowStateChange kSelected{true, true, true};

TEST(TrackNumbering, NumbersRowsInTheOrderTheyAreSelectedAndRestartsAtOne) {
    TestEngine engine;
    batch::TrackNumbering numbering;
    EXPECT_EQ(numbering.Caption(), u"Track #");
    numbering.SwitchOn();
    EXPECT_EQ(numbering.Caption(), u"Track 1");
    Id3v2Tag tags[10];
    SetFrameText(tags[1], frame_ids::kTrck, u"5/12", engine.context);
    for (auto& tag : tags)
        EXPECT_TRUE(numbering.OnRowStateChanged(tag, kSelected, engine.context));
    EXPECT_EQ(TextOf(tags[0], "TRCK"), "1");
    EXPECT_EQ(TextOf(tags[1], "TRCK"), "2");
    EXPECT_EQ(TextOf(tags[9], "TRCK"), "10");
    EXPECT_EQ(numbering.Caption(), u"Track 11");

    numbering.SwitchOff();
    EXPECT_EQ(numbering.Caption(), u"Track #");
    numbering.SwitchOn();
    numbering.OnRowStateChanged(tags[5], kSelected, engine.context);
    EXPECT_EQ(TextOf(tags[5], "TRCK"), "1");
    EXPECT_EQ(TextOf(tags[6], "TRCK"), "7");
}

TEST(TrackNumbering, NumbersOnlyARowThatBecomesSelectedWhileOn) {
    const RowStateChange ignored[] = {
        {true, true, false},  // the row lost its selection
        {true, false, true},  // already selected; another attribute changed
        {false, true, true},  // no row of the list is selected
    };
    TestEngine engine;
    batch::TrackNumbering numbering;
    Id3v2Tag tag;
    EXPECT_FALSE(numbering.OnRowStateChanged(tag, kSelected, engine.context));  // mode off
    numbering.SwitchOn();
    for (const auto& change : ignored)
        EXPECT_FALSE(numbering.OnRowStateChanged(tag, change, engine.context));
    EXPECT_EQ(TextOf(tag, "TRCK"), "<none>");
    EXPECT_EQ(numbering.TrackCounter(), 1u);
}

}  // namespace
}  // namespace velmora::testing
