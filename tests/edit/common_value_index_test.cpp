#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

#include "edit/CommonValueIndex.h"
#include "edit/EditFolder.h"
#include "edit/TagEdits.h"

namespace velmora::testing {
namespace {

using CommonValueIndexTest = EditFolder;

TEST_F(CommonValueIndexTest, TellsAfterEachEditWhatAPassOverTheRecordsTells) {
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3", "d.mp3"})
        Add(name, Tag(3, Cat({Frame("TIT2", TextBody(name)), Frame("TALB", TextBody("A"))})));
    Records shown(records_.begin(), records_.begin() + 3);
    const edit::TextsOf textOf = [this](const Mp3File& record, std::size_t index) {
        return edit::V2ShownText(record, index, engine_.context.codePage);
    };
    edit::CommonValueIndex index(edit::kV2ShownCount, textOf);
    index.Append(std::span(shown).first(1));
    index.Append(std::span(shown).subspan(1));
    // Each edit sets a frame's text in some slots; only those are told to the index.
    const struct {
        std::vector<std::size_t> slots;
        FrameId id;
        std::u16string text;
    } rows[] = {
        {{}, "TIT2", u""},  // as loaded: titles differ, the album is shared
        {{0, 1, 2}, "TIT2", u"Same"},
        {{1}, "TALB", u"B"},
        {{0, 2}, "TCON", u"Rock"},
        {{1}, "TCON", u"Rock"},
        {{1}, "TIT2", u"X"},
        {{1}, "TIT2", u"Same"},
        {{0, 1, 2}, "TALB", u""},
    };
    for (const auto& row : rows) {
        for (const std::size_t slot : row.slots) {
            SetFrameText(shown[slot]->V2(), row.id, row.text, engine_.context);
            index.Update(slot, *shown[slot]);
        }
        for (const Mp3File* any : shown)
            EXPECT_EQ(index.Common(*any), edit::CommonValues(shown, edit::kV2ShownCount, textOf));
    }
    // A record loaded again takes the place of another.
    shown[1] = records_[3];
    index.Update(1, *shown[1]);
    EXPECT_EQ(index.Common(*shown[0]), edit::CommonValues(shown, edit::kV2ShownCount, textOf));
}

}  // namespace
}  // namespace velmora::testing
