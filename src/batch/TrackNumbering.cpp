#include "batch/TrackNumbering.h"

#include <string>

#include "tags/id3v2/FrameIdTable.h"
#include "tags/ops/FrameTextOps.h"

namespace velmora::batch {
namespace {

std::u16string Decimal(std::uint32_t value) {
    const std::string digits = std::to_string(value);
    return {digits.begin(), digits.end()};
}

}  // namespace

std::u16string TrackNumbering::Caption() const {
    return on_ ? u"Track " + Decimal(trackCounter_) : u"Track #";
}

bool TrackNumbering::NumberNext(Id3v2Tag& tag, const EngineContext& context) {
    if (!on_)
        return false;
    SetFrameText(tag, frame_ids::kTrck, Decimal(trackCounter_), context);
    ++trackCounter_;
    return true;
}

}  // namespace velmora::batch
