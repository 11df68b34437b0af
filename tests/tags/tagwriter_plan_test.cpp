#include <gtest/gtest.h>

#include <cstring>

#include "TagWriterTestSupport.h"
#include "tags/Padding.h"
#include "tags/TagRegion.h"
#include "tags/TagSavePlan.h"

namespace velmora {
namespace {

using testing::TagBytes;

TEST(PaddingFor, AlignsTheWholeFileToFourKibibytes) {
    const std::array<std::uint32_t, 3> cases[] = {
        {1'000'000, 100, 3'410},  // T = 1,000,110; file grows to 1,003,520
        {4'086, 0, 4'096},        // T already aligned: a whole block
        {4'085, 0, 1},
        {0xFFFF'FFFF, 0, 4'087},  // 32-bit arithmetic: the low bits of the size still align
    };
    for (const auto& [afterTag, body, padding] : cases) {
        EXPECT_EQ(PaddingFor(afterTag, body), padding) << afterTag << "+" << body;
    }
}

TEST(TagRegion, ReadsTheOldTagsExtent) {
    const std::pair<std::string, std::optional<std::uint64_t>> cases[] = {
        {TagBytes(2048, ""), 2058},
        {TagBytes(100, "", 4, 0x10), 120},  // ID3v2.4 footer belongs to the tag
        {TagBytes(100, "", 3, 0x10), 110},  // no footer before ID3v2.4
        {std::string("ID3\3\0\0\x80\0\0\0", 10), 10 + (0x80u << 21)},  // bytes taken whole
        {std::string("ID2\3\0\0\0\0\0\0", 10), std::nullopt},
    };
    for (const auto& [header, end] : cases) {
        std::array<std::uint8_t, 10> bytes{};
        std::memcpy(bytes.data(), header.data(), 10);
        EXPECT_EQ(ExistingTagEnd(bytes), end);
    }
}

SavePlan Plan(const std::string& file, bool writeV1, bool stripV2, std::size_t frames) {
    FileFacts facts;
    facts.size = file.size();
    std::memcpy(facts.start.data(), file.data(), std::min<std::size_t>(10, file.size()));
    facts.id3v1AtEnd = file.size() > 128 && file.compare(file.size() - 128, 3, "TAG") == 0;
    static std::vector<std::uint8_t> bytes;
    bytes.assign(frames, 'f');
    SaveIntent intent;
    intent.id3v1 = writeV1 ? Id3v1Action::Write : Id3v1Action::Leave;
    intent.stripId3v2 = stripV2;
    intent.id3v2Frames = std::span<const std::uint8_t>(bytes);
    return PlanSave(facts, intent);
}

TEST(PlanSave, RefusesOrLeavesAloneWhatItCannotDoSafely) {
    const std::string pastTheEnd = TagBytes(5000, std::string(100, 'x'));
    EXPECT_EQ(Plan(pastTheEnd, false, false, 10).outcome, SavePlan::Outcome::Refused);
    // A tag that reaches into the ID3v1 record being replaced would be padded over it too.
    const std::string intoRecord =
        TagBytes(200, std::string(100, 'x')) + "TAG" + std::string(125, 'v');
    EXPECT_EQ(Plan(intoRecord, true, false, 10).outcome, SavePlan::Outcome::Refused);
    EXPECT_EQ(Plan(std::string(100, 'a'), false, false, kMaxTagSize).outcome,
              SavePlan::Outcome::Refused);  // too large for the size field
    // Stripping a tag that runs past the end, or one that is the whole file, changes nothing.
    EXPECT_TRUE(Plan(pastTheEnd, false, true, 0).ChangesNothing());
    EXPECT_TRUE(Plan(TagBytes(100, std::string(100, 'x')), false, true, 0).ChangesNothing());
}

}  // namespace
}  // namespace velmora
