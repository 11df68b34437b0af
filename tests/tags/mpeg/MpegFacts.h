#pragma once

#include <string>

#include "tags/mpeg/MpegInfo.h"

namespace velmora::testing {

// A measurement as one line, "@offset Llayer/rate kbps[v] seconds header frames", or "none".
inline std::string Facts(const MpegInfo& info) {
    using std::to_string;
    const char* headers[] = {"-", "Xing", "Info", "VBRI"};
    if (!info.found)
        return "none";
    return "@" + to_string(info.firstFrameOffset) + " L" + to_string(info.layer) + "/" +
           to_string(info.sampleRate) + " " + to_string(info.bitrate) + (info.vbr ? "v " : " ") +
           to_string(info.duration) + "s " + headers[int(info.vbrHeader)] + " " +
           to_string(info.frameCount);
}

}  // namespace velmora::testing
