#include "batch/FileNameCapture.h"

namespace velmora::batch {

FileNameCapture::FileNameCapture(std::u16string_view expression) {
    engine_.Compile(expression);
}

std::optional<std::vector<CapturedField>> FileNameCapture::Capture(std::u16string_view fileName) {
    if (!engine_.Search(fileName))
        return std::nullopt;
    std::vector<CapturedField> fields;
    for (const GroupFrame& row : kGroupFrames) {
        if (engine_.HasGroup(row.group))
            fields.push_back({row.group, row.frame, engine_.GroupText(row.group)});
    }
    return fields;
}

}  // namespace velmora::batch
