#include "tags/id3v2/FrameLayouts.h"

#include "tags/id3v2/FrameIdTable.h"

namespace velmora {

FrameKind FrameKindOf(const FrameId& id) {
    using namespace frame_ids;
    // By first character, so most frames are told apart without comparing whole IDs.
    switch (id.First()) {
        case 'T':
            return id == kTxxx ? FrameKind::UserText : FrameKind::Text;
        case 'W':
            return id == kWxxx ? FrameKind::UserUrl : FrameKind::Url;
        case 'C':
            return id == kComm ? FrameKind::Comment : FrameKind::Raw;
        case 'U':
            return id == kUslt ? FrameKind::Comment : FrameKind::Raw;
        case 'A':
            return id == kApic ? FrameKind::Picture : FrameKind::Raw;
        case 'I':
            return id == kIpls ? FrameKind::Text : FrameKind::Raw;
        default:
            return FrameKind::Raw;
    }
}

const FrameLayout& LayoutOf(FrameKind kind) {
    for (const auto& layout : kFrameLayouts) {
        if (layout.kind == kind)
            return layout;
    }
    return kFrameLayouts.back();
}

}  // namespace velmora
