#include <gtest/gtest.h>

#include <cstring>

#include "TagWriterTestSupport.h"
#include "tags/Padding.h"
#include "tags/TagRegion.h"
#include "tags/TagSavePlan.h"

namespace velmora {
namespace {

using Outcome = SavePlan::Outcome;

struct PaddingCase {
    std::uint32_t afterTag;
    std::uint32_t body;
    std::uint32_t padding;
};

TEST(PaddingForTest, AlignsTheWholeFileToFourKibibytes) {
    const PaddingCase cases[] = {
        {1'000'000, 100, 3'410},                     // T = 1,000,110; file grows to 1,003,520
        {0, 0, 4'086},           {4'086, 0, 4'096},  // T already aligned: a whole block
        {4'085, 0, 1},           {0, 4'086, 4'096},
        {0xFFFF'FFFF, 0, 4'087},  // 32-bit arithmetic: the low bits of the size still align
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PaddingFor(c.afterTag, c.body), c.padding) << c.afterTag << "+" << c.body;
    }
}

TEST(TagRegionTest, ReadsTheOldTagsExtent) {
    struct Case {
        std::string header;
        std::optional<std::uint64_t> end;
    };
    const Case cases[] = {
        {testing::TagBytes(2048, ""), 2058},
        {testing::TagBytes(0, ""), 10},
        {testing::TagBytes(100, "", 4, 0x10), 120},  // ID3v2.4 footer belongs to the tag
        {testing::TagBytes(100, "", 3, 0x10), 110},  // no footer before ID3v2.4
        {testing::TagBytes(100, "", 2), 110},
        {std::string("ID3\3\0\0\x80\0\0\0", 10), 10 + (0x80u << 21)},  // bytes taken whole
        {std::string("ID2\3\0\0\0\0\0\0", 10), std::nullopt},
        {std::string(10, '\0'), std::nullopt},
    };
    for (const auto& c : cases) {
        std::array<std::uint8_t, 10> bytes{};
        std::memcpy(bytes.data(), c.header.data(), 10);
        EXPECT_EQ(ExistingTagEnd(bytes), c.end);
    }
}

TEST(TagRegionTest, EncodesAPlainHeaderWithSynchsafeSize) {
    const auto header = EncodeTagHeader(4, 0x0FFF'FFFF);
    EXPECT_EQ(std::string(header.begin(), header.end()),
              std::string("ID3\4\0\0\x7F\x7F\x7F\x7F", 10));
    const auto small = EncodeTagHeader(3, 300);
    EXPECT_EQ(std::string(small.begin(), small.end()), std::string("ID3\3\0\0\0\0\2\x2C", 10));
}

FileFacts FactsOf(const std::string& file) {
    FileFacts facts;
    facts.size = file.size();
    std::memcpy(facts.start.data(), file.data(), std::min<std::size_t>(10, file.size()));
    facts.id3v1AtEnd = file.size() > 128 && file.compare(file.size() - 128, 3, "TAG") == 0;
    return facts;
}

SaveIntent WriteFrames(const std::vector<std::uint8_t>& frames) {
    SaveIntent intent;
    intent.id3v2Frames = std::span<const std::uint8_t>(frames);
    return intent;
}

TEST(PlanSaveTest, RefusesATagThatRunsPastTheEnd) {
    const std::string file = testing::TagBytes(5000, std::string(100, 'x'));
    const std::vector<std::uint8_t> small(10, 'f');
    EXPECT_EQ(PlanSave(FactsOf(file), WriteFrames(small)).outcome, Outcome::Refused);
    // A tag that reaches into the ID3v1 record being replaced would be padded over it too.
    const std::string intoRecord =
        testing::TagBytes(200, std::string(100, 'x')) + "TAG" + std::string(125, 'v');
    SaveIntent intent = WriteFrames(small);
    intent.id3v1 = Id3v1Action::Write;
    EXPECT_EQ(PlanSave(FactsOf(intoRecord), intent).outcome, Outcome::Refused);
    // The same when the record stays: neither padded over nor cut into by a strip.
    EXPECT_EQ(PlanSave(FactsOf(intoRecord), WriteFrames(small)).outcome, Outcome::Refused);
    SaveIntent strip;
    strip.stripId3v2 = true;
    EXPECT_TRUE(PlanSave(FactsOf(intoRecord), strip).ChangesNothing());
}

TEST(PlanSaveTest, RefusesATagTooLargeForItsSizeField) {
    const std::vector<std::uint8_t> huge(kMaxTagSize, 'f');
    EXPECT_EQ(PlanSave(FactsOf(std::string(100, 'a')), WriteFrames(huge)).outcome,
              Outcome::Refused);
}

TEST(PlanSaveTest, LeavesTinyFilesAndOversizedStripsAlone) {
    const std::vector<std::uint8_t> frames(10, 'f');
    EXPECT_TRUE(PlanSave(FactsOf(std::string(10, 'a')), WriteFrames(frames)).ChangesNothing());
    SaveIntent strip;
    strip.stripId3v2 = true;
    EXPECT_TRUE(
        PlanSave(FactsOf(testing::TagBytes(5000, std::string(100, 'x'))), strip).ChangesNothing());
    // A file that is all tag keeps it: nothing would remain.
    EXPECT_TRUE(
        PlanSave(FactsOf(testing::TagBytes(100, std::string(100, 'x'))), strip).ChangesNothing());
}

TEST(PlanSaveTest, Id3v1RecordGoesOverTheOldOneOrBehindTheFile) {
    const std::string withRecord = std::string(300, 'a') + "TAG" + std::string(125, 'v');
    SaveIntent write;
    write.id3v1 = Id3v1Action::Write;
    SavePlan plan = PlanSave(FactsOf(withRecord), write);
    EXPECT_EQ(plan.keep, 300u);
    EXPECT_EQ(plan.id3v1Record.size(), 128u);
    // Exactly 128 bytes starting with TAG: never overwritten, the record is appended.
    const std::string onlyRecord = "TAG" + std::string(125, 'v');
    plan = PlanSave(FactsOf(onlyRecord), write);
    EXPECT_EQ(plan.keep, 128u);
    SaveIntent remove;
    remove.id3v1 = Id3v1Action::Remove;
    EXPECT_TRUE(PlanSave(FactsOf(onlyRecord), remove).ChangesNothing());
    EXPECT_EQ(PlanSave(FactsOf(withRecord), remove).keep, 300u);
}

}  // namespace
}  // namespace velmora
