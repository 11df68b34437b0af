#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "edit/CommonValueIndex.h"
#include "edit/TagEdits.h"
#include "tags/RecordFolder.h"

namespace velmora::testing {
namespace {

class CommonValueIndexTest : public RecordFolder {
  protected:
    void Add(const std::string& name, std::string_view album) {
        Write(name,
              Cat({Tag(3, Cat({Frame("TIT2", TextBody(name)), Frame("TALB", TextBody(album))})),
                   B(Pattern(64, 1))}));
        files_.push_back(Load(name));
        records_.push_back(files_.back().get());
    }
    void Set(std::size_t slot, FrameId id, std::u16string_view text) {
        SetFrameText(records_[slot]->V2(), id, text, engine_.context);
    }
    std::u16string TextOf(const Mp3File& record, std::size_t index) const {
        return edit::V2ShownText(record, index, engine_.context.codePage);
    }

    std::vector<std::unique_ptr<Mp3File>> files_;
    std::vector<Mp3File*> records_;
};

TEST_F(CommonValueIndexTest, TellsAfterEachEditWhatAPassOverTheRecordsTells) {
    Add("a.mp3", "Album");
    Add("b.mp3", "Album");
    Add("c.mp3", "Other");
    const edit::TextsOf textOf = [this](const Mp3File& record, std::size_t index) {
        return TextOf(record, index);
    };
    edit::CommonValueIndex index(edit::kV2ShownCount, textOf);
    index.Append(std::span(records_).first(1));
    index.Append(std::span(records_).subspan(1));
    // Each edit, and the slots it changed: only those are told to the index.
    const struct {
        const char* what;
        std::vector<std::size_t> slots;
        std::function<void()> edit;
    } rows[] = {
        {"as loaded", {}, [] {}},
        {"one title on all",
         {0, 1, 2},
         [&] {
             for (std::size_t s : {0, 1, 2})
                 Set(s, "TIT2", u"Same");
         }},
        {"the album made common", {2}, [&] { Set(2, "TALB", u"Album"); }},
        {"one title apart again", {1}, [&] { Set(1, "TIT2", u"Apart"); }},
        {"a genre and a year on two",
         {0, 2},
         [&] {
             for (std::size_t s : {0, 2}) {
                 Set(s, "TCON", u"Rock");
                 Set(s, "TYER", u"1999");
             }
         }},
        {"the last one too, title back",
         {1},
         [&] {
             Set(1, "TCON", u"Rock");
             Set(1, "TYER", u"1999");
             Set(1, "TIT2", u"Same");
         }},
        {"the album emptied everywhere",
         {0, 1, 2},
         [&] {
             for (std::size_t s : {0, 1, 2})
                 Set(s, "TALB", u"");
         }},
    };
    for (const auto& row : rows) {
        row.edit();
        for (const std::size_t slot : row.slots)
            index.Update(slot, *records_[slot]);
        const auto expected = edit::CommonValues(records_, edit::kV2ShownCount, textOf);
        for (const Mp3File* any : records_)
            EXPECT_EQ(index.Common(*any), expected) << row.what;
    }
    // A record loaded again in a slot, and the list loaded anew.
    Add("d.mp3", "Album");
    index.Update(1, *records_[3]);
    std::swap(records_[1], records_[3]);
    records_.pop_back();
    EXPECT_EQ(index.Common(*records_[0]),
              edit::CommonValues(records_, edit::kV2ShownCount, textOf));
    index.Clear();
    index.Append(std::span(records_).first(1));
    EXPECT_EQ(index.Size(), 1U);
    EXPECT_EQ(index.Common(*records_[0]),
              edit::CommonValues(std::span(records_).first(1), edit::kV2ShownCount, textOf));
}

}  // namespace
}  // namespace velmora::testing
