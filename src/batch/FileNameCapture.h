#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "batch/regex/RegexEngine.h"
#include "tags/id3v2/FrameId.h"

namespace velmora::batch {

// Which named group fills which ID3v2 frame, applied in this order. The year is set as the
// editor sets it (SetFrameText of TYER: TDRC in a tag saved as ID3v2.4).
struct GroupFrame {
    std::u16string_view group;
    FrameId frame;
};
inline constexpr std::array<GroupFrame, 6> kGroupFrames = {{
    {u"artist", FrameId("TPE1")},
    {u"album", FrameId("TALB")},
    {u"title", FrameId("TIT2")},
    {u"year", FrameId("TYER")},
    {u"track", FrameId("TRCK")},
    {u"genre", FrameId("TCON")},
}};

// One value taken from a file name, as captured (before the frame's storage rules).
struct CapturedField {
    std::u16string_view group;
    FrameId frame;
    std::u16string text;
};

// A compiled "tags from file name" expression.
class FileNameCapture {
  public:
    // Throws regex::REGEXPERROR when the expression does not compile.
    explicit FileNameCapture(std::u16string_view expression);

    // The values of the table's groups that the expression has, in table order, or nothing
    // when the name does not match. The match may lie anywhere in the name.
    std::optional<std::vector<CapturedField>> Capture(std::u16string_view fileName);

  private:
    regex::RegexEngine engine_;
};

}  // namespace velmora::batch
