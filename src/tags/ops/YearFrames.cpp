#include "tags/ops/YearFrames.h"

#include <algorithm>

#include "tags/id3v2/FrameIdTable.h"
#include "tags/id3v2/Id3v2Tag.h"
#include "tags/id3v2/VersionConversion.h"
#include "tags/ops/FrameTextOps.h"
#include "tags/record/EngineContext.h"

namespace velmora {

namespace {

bool AllDigits(std::u16string_view text) {
    return std::all_of(text.begin(), text.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

// Takes `count` digits after an optional separator; false when the text does not hold them.
bool TakePart(std::u16string_view& rest, char16_t separator, std::size_t count,
              std::u16string& part) {
    if (rest.empty())
        return true;
    if (separator != 0) {
        if (rest.front() != separator)
            return false;
        rest.remove_prefix(1);
    }
    if (rest.size() < count || !AllDigits(rest.substr(0, count)))
        return false;
    part = rest.substr(0, count);
    rest.remove_prefix(count);
    return true;
}

}  // namespace

std::optional<TimeStamp> TimeStamp::Parse(std::u16string_view text) {
    TimeStamp stamp;
    std::u16string seconds;
    std::u16string_view rest = text;
    if (rest.empty() || !TakePart(rest, 0, 4, stamp.year) ||
        !TakePart(rest, u'-', 2, stamp.month) || !TakePart(rest, u'-', 2, stamp.day) ||
        !TakePart(rest, u'T', 2, stamp.hour) || !TakePart(rest, u':', 2, stamp.minute) ||
        !TakePart(rest, u':', 2, seconds) || !rest.empty())
        return std::nullopt;
    return stamp;
}

std::u16string YearOfTimeStamp(std::u16string_view text) {
    if (auto stamp = TimeStamp::Parse(text))
        return stamp->year;
    return std::u16string(text);
}

std::optional<std::u16string> YearText(const Id3v2Tag& tag, const text::CodePage& codePage) {
    if (auto year = GetTextOfFrame(tag, frame_ids::kTyer, FieldKind::Text, codePage))
        return year;
    if (auto stamp = GetTextOfFrame(tag, frame_ids::kTdrc, FieldKind::Text, codePage))
        return YearOfTimeStamp(*stamp);
    return std::nullopt;
}

void SetYear(Id3v2Tag& tag, std::u16string_view year, const EngineContext& context) {
    if (context.options.encoding.use24) {
        ConvertDateFramesTo24(tag);
    } else if (!FindFrame(tag, frame_ids::kTdrc) || FindFrame(tag, frame_ids::kTyer)) {
        SetTextFrame(tag, frame_ids::kTyer, year, context);
        return;
    }
    std::u16string value(year);
    auto old = GetTextOfFrame(tag, frame_ids::kTdrc, FieldKind::Text, context.codePage);
    auto stamp = old ? TimeStamp::Parse(*old) : std::nullopt;
    if (stamp && year.size() == 4 && AllDigits(year))
        value += old->substr(4);
    SetTextFrame(tag, frame_ids::kTdrc, value, context);
}

}  // namespace velmora
