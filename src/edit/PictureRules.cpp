#include "edit/PictureRules.h"

namespace velmora::edit {

FittedRect FitImage(int width, int height, int imageWidth, int imageHeight) {
    if (width <= 0 || height <= 0 || imageWidth <= 0 || imageHeight <= 0)
        return {};
    const double ratio = double(imageWidth) / double(imageHeight);
    FittedRect fitted;
    if (width < height * ratio) {
        fitted.width = width;
        fitted.height = int(width / ratio);
    } else {
        fitted.height = height;
        fitted.width = int(height * ratio);
    }
    fitted.x = (width - fitted.width) / 2;
    fitted.y = (height - fitted.height) / 2;
    return fitted;
}

std::u16string PictureSaveName(std::u16string_view typeName) {
    std::u16string name(typeName);
    for (char16_t& c : name) {
        const bool kept = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') ||
                          (c >= u'0' && c <= u'9') || c == u' ';
        if (!kept)
            c = u' ';
    }
    return name;
}

std::u16string PictureSaveFilter(std::string_view subtype) {
    std::u16string upper, lower;
    for (char c : subtype) {
        lower += char16_t(c);
        upper += char16_t(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    }
    return upper + u" Images (*." + lower + u")";
}

}  // namespace velmora::edit
