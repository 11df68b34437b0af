#pragma once

#include <string>
#include <string_view>

namespace velmora::edit {

struct FittedRect {
    int x = 0, y = 0, width = 0, height = 0;
};

// An image of imageWidth x imageHeight fitted into an area of width x height at (0, 0):
// stretched (small ones enlarged too) to fill one side with its ratio kept, each side cut to
// a whole pixel toward zero, and centred with the spare pixels halved and rounded down.
FittedRect FitImage(int width, int height, int imageWidth, int imageHeight);

// The file name "Save picture..." proposes for a picture of the type: every character other
// than an ASCII letter, a digit or a space becomes a space ("Cover (front)" gives
// "Cover  front ").
std::u16string PictureSaveName(std::u16string_view typeName);
// The filter of that dialog for data of the subtype: "PNG Images (*.png)".
std::u16string PictureSaveFilter(std::string_view subtype);

}  // namespace velmora::edit
