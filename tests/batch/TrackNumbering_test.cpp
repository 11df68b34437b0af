#include <gtest/gtest.h>

#include "batch/TrackNumbering.h"
#include "tags/Id3v2TestSupport.h"

namespace velmora::testing {
namespace {

constexpr batch::RowStateChange kSelected{true, true, true};

TEST(TrackNumbering, NumbersNewlySelectedRowsInOrderWhileOnAndRestartsAtOne) {
    TestEngine engine;
    batch::TrackNumbering numbering;
    Id3v2Tag tags[10];
    EXPECT_FALSE(numbering.OnRowStateChanged(tags[0], kSelected, engine.context));  // mode off
    numbering.SwitchOn();
    EXPECT_EQ(numbering.Caption(), u"Track 1");
    const batch::RowStateChange ignored[] = {
        {true, true, false},  // the row lost its selection
        {true, false, true},  // already selected; another attribute changed
        {false, true, true},  // no row of the list is selected
    };
    for (const auto& change : ignored)
        EXPECT_FALSE(numbering.OnRowStateChanged(tags[0], change, engine.context));
    EXPECT_EQ(TextOf(tags[0], "TRCK"), "<none>");

    SetFrameText(tags[1], frame_ids::kTrck, u"5/12", engine.context);
    for (auto& tag : tags)
        EXPECT_TRUE(numbering.OnRowStateChanged(tag, kSelected, engine.context));
    EXPECT_EQ(TextOf(tags[1], "TRCK"), "2");
    EXPECT_EQ(TextOf(tags[9], "TRCK"), "10");
    EXPECT_EQ(numbering.Caption(), u"Track 11");

    numbering.SwitchOff();
    EXPECT_EQ(numbering.Caption(), u"Track #");
    numbering.SwitchOn();
    numbering.OnRowStateChanged(tags[5], kSelected, engine.context);
    EXPECT_EQ(TextOf(tags[5], "TRCK"), "1");
}

}  // namespace
}  // namespace velmora::testing
