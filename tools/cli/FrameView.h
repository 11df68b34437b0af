#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velmora {
class FrameField;
class Id3v2Frame;
namespace text {
class CodePage;
}
}  // namespace velmora

namespace velmora::cli {

// What one frame holds, read through its fields, for printing. Which members are set
// depends on the kind of frame.
struct FrameView {
    enum class Kind { Text, UserText, Url, UserUrl, Comment, Picture, Raw };

    std::string id;
    Kind kind = Kind::Raw;
    std::optional<std::uint8_t> encoding;
    std::u16string text;                 // text frames: what the list shows; comments: text
    std::vector<std::u16string> values;  // text frames: every value, in order
    std::u16string description;          // TXXX, WXXX, comments, pictures
    std::string language;                // comments
    std::string url;                     // URL frames
    std::string mime;                    // pictures
    std::uint8_t pictureType = 0;        // pictures
    // Pictures: the data; raw frames: the body. Its bytes may lie in the file
    // (ReadFieldBytes through the record), so only its length is here.
    const FrameField* dataField = nullptr;
    std::uint64_t dataSize = 0;
};

FrameView ViewFrame(const Id3v2Frame& frame, const text::CodePage& codePage);

}  // namespace velmora::cli
