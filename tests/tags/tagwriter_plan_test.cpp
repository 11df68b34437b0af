#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tags/Padding.h"
#include "tags/TagRegion.h"
#include "tags/TagSavePlan.h"

namespace velmora {
namespace {

// The save tests' model pads with PaddingFor too, so its figures are checked here by hand.
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

TEST(PlanSave, RefusesATagTooLargeForItsSizeField) {
    const std::vector<std::uint8_t> huge(kMaxTagSize, 'f');
    SaveIntent intent;
    intent.id3v2Frames = std::span<const std::uint8_t>(huge);
    FileFacts facts;
    facts.size = 100;
    EXPECT_EQ(PlanSave(facts, intent).outcome, SavePlan::Outcome::Refused);
}

// A tag whose declared size reaches into the ID3v1 record that the save keeps: padding would
// overwrite the record and a strip would cut into it, so neither happens.
TEST(PlanSave, NeverPadsOverOrStripsIntoAKeptId3v1Record) {
    std::string file("ID3\3\0\0\0\0\1\x48", 10);  // declares 200 bytes
    file += std::string(100, 'x') + "TAG" + std::string(125, 'v');
    FileFacts facts;
    facts.size = file.size();
    std::copy_n(file.begin(), 10, facts.start.begin());
    facts.id3v1AtEnd = true;
    const std::vector<std::uint8_t> small(10, 'f');
    SaveIntent write;
    write.id3v2Frames = std::span<const std::uint8_t>(small);
    EXPECT_EQ(PlanSave(facts, write).outcome, SavePlan::Outcome::Refused);
    SaveIntent strip;
    strip.stripId3v2 = true;
    EXPECT_TRUE(PlanSave(facts, strip).ChangesNothing());
}

}  // namespace
}  // namespace velmora
