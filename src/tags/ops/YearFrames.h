#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "tags/ops/TagOpsFwd.h"

namespace velmora {

// An ID3v2.4 time stamp (yyyy[-MM[-dd[THH[:mm[:ss]]]]]) taken apart; absent parts are empty.
struct TimeStamp {
    std::u16string year, month, day, hour, minute;
    static std::optional<TimeStamp> Parse(std::u16string_view text);
};

// The year part of a TDRC text: its first four digits when it is a time stamp, else the whole
// text.
std::u16string YearOfTimeStamp(std::u16string_view text);

// The year as the Year column and %year show it: TYER's text, else the year of TDRC.
std::optional<std::u16string> YearText(const Id3v2Tag& tag, const text::CodePage& codePage);

// Sets the year. A tag saved as ID3v2.4 gets it as TDRC, never TYER (a TYER of its own is
// turned into TDRC first); so does a tag that holds TDRC and no TYER. A year of four digits
// replaces only the year of an existing TDRC and keeps its month, day and time. Otherwise the
// year goes into TYER.
void SetYear(Id3v2Tag& tag, std::u16string_view year, const EngineContext& context);

}  // namespace velmora
