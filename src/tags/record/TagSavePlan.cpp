#include "tags/record/TagSavePlan.h"

#include <algorithm>

#include "tags/id3v1/Id3v1Tag.h"
#include "tags/record/Padding.h"

namespace velmora {

namespace {

constexpr char16_t kTagPastTheEnd[] =
    u"its ID3v2 tag claims more bytes than the file holds, so it was not removed";

void PlanId3v1(const FileFacts& facts, const TagSave& save, SavePlan& plan) {
    plan.oldSize = facts.size;
    plan.keep = facts.size;
    if (save.id3v1 == Id3v1Action::Leave) {
        return;
    }
    // Files of 128 bytes or less are never cut: the record would be the whole file.
    if (facts.id3v1AtEnd && facts.size > kId3v1Size) {
        plan.keep = facts.size - kId3v1Size;
    }
    if (save.id3v1 == Id3v1Action::Write) {
        plan.id3v1Record.assign(save.id3v1Record.begin(), save.id3v1Record.end());
    }
}

// The first bytes of the intermediate file, which the ID3v2 step reads as the old header.
std::array<std::uint8_t, kTagHeaderSize> IntermediateStart(const FileFacts& facts,
                                                           const SavePlan& plan) {
    std::array<std::uint8_t, kTagHeaderSize> start{};
    const std::size_t fromOld = static_cast<std::size_t>(std::min<std::uint64_t>(plan.keep, 10));
    std::copy_n(facts.start.begin(), fromOld, start.begin());
    const std::size_t fromRecord = std::min(kTagHeaderSize - fromOld, plan.id3v1Record.size());
    std::copy_n(plan.id3v1Record.begin(), fromRecord, start.begin() + fromOld);
    return start;
}

// The end of what the ID3v2 step may overwrite or drop: what the ID3v1 step keeps, less an
// ID3v1 record that stays at the end (a tag whose declared size reaches into it would be
// padded over it or cut into it).
std::uint64_t TagLimit(const FileFacts& facts, const SavePlan& plan) {
    if (facts.id3v1AtEnd && facts.size > kId3v1Size) {
        return std::min(plan.keep, facts.size - kId3v1Size);
    }
    return plan.keep;
}

void PlanStrip(std::optional<std::uint64_t> oldEnd, std::uint64_t limit, SavePlan& plan) {
    if (!oldEnd) {
        return;
    }
    // A tag may reach the end of the file or its ID3v1 record (a file that is only a tag);
    // one that claims more cannot be cut off without guessing where the audio starts.
    if (*oldEnd > limit) {
        plan.outcome = SavePlan::Outcome::Refused;
        plan.refusal = kTagPastTheEnd;
        return;
    }
    plan.outcome = SavePlan::Outcome::Move;
    plan.tagEnd = *oldEnd;
}

void PlanWrite(std::optional<std::uint64_t> oldEnd, std::uint64_t limit, const TagSave& save,
               SavePlan& plan) {
    const std::uint64_t bodySize = save.FramesSize();
    std::uint64_t padding = 0;
    if (oldEnd && *oldEnd > limit) {
        // The declared size runs past the end or into the ID3v1 record: rewriting in place
        // would pad over it.
        plan.outcome = SavePlan::Outcome::Refused;
        return;
    }
    if (oldEnd && bodySize + kTagHeaderSize <= *oldEnd) {
        padding = *oldEnd - kTagHeaderSize - bodySize;
    } else {
        plan.outcome = SavePlan::Outcome::Move;
        plan.tagEnd = oldEnd.value_or(0);
        const std::uint64_t afterTag = plan.IntermediateSize() - plan.tagEnd;
        padding =
            PaddingFor(static_cast<std::uint32_t>(afterTag), static_cast<std::uint32_t>(bodySize));
    }
    if (bodySize + padding > kMaxTagSize) {
        plan.outcome = SavePlan::Outcome::Refused;
        return;
    }
    plan.tagHeader =
        EncodeTagHeader(save.id3v2Version, static_cast<std::uint32_t>(bodySize + padding));
    plan.tagSize = kTagHeaderSize + bodySize + padding;
}

}  // namespace

void TagSave::WriteId3v1(const Id3v1Tag& tag, const text::CodePage& codePage, bool autoDeleteV1) {
    if (autoDeleteV1 && tag.IsEmpty()) {
        id3v1 = Id3v1Action::Remove;
        return;
    }
    id3v1 = Id3v1Action::Write;
    id3v1Record = EncodeId3v1(tag, codePage);
}

std::uint64_t TagSave::FramesSize() const {
    std::uint64_t size = id3v2Frames ? id3v2Frames->size() : 0;
    for (const StoredSplice& splice : storedSplices)
        size += splice.body->length;
    return size;
}

SavePlan PlanSave(const FileFacts& facts, const TagSave& save) {
    SavePlan plan;
    PlanId3v1(facts, save, plan);
    if (!save.stripId3v2 && !save.id3v2Frames) {
        return plan;
    }
    // Too small to hold a tag header: there is nothing to strip, and a new tag goes in front
    // of whatever the file holds (writing nothing would drop the edit while reporting success).
    if (plan.IntermediateSize() <= kTagHeaderSize) {
        if (!save.stripId3v2) {
            PlanWrite(std::nullopt, TagLimit(facts, plan), save, plan);
        }
        return plan;
    }
    const auto start = IntermediateStart(facts, plan);
    const std::optional<std::uint64_t> oldEnd = ExistingTagEnd(start);
    const std::uint64_t limit = TagLimit(facts, plan);
    if (save.stripId3v2) {
        PlanStrip(oldEnd, limit, plan);
    } else {
        PlanWrite(oldEnd, limit, save, plan);
    }
    return plan;
}

}  // namespace velmora
