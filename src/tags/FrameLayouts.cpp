#include "tags/FrameLayouts.h"

#include "tags/FrameIdTable.h"

namespace velmora {

FrameKind FrameKindOf(const FrameId& id) {
    using namespace frame_ids;
    if (id == kTxxx)
        return FrameKind::UserText;
    if (id == kWxxx)
        return FrameKind::UserUrl;
    if (id == kComm || id == kUslt)
        return FrameKind::Comment;
    if (id == kApic)
        return FrameKind::Picture;
    if (id == kIpls || id.First() == 'T')
        return FrameKind::Text;
    if (id.First() == 'W')
        return FrameKind::Url;
    return FrameKind::Raw;
}

const FrameLayout& LayoutOf(FrameKind kind) {
    for (const auto& layout : kFrameLayouts) {
        if (layout.kind == kind)
            return layout;
    }
    return kFrameLayouts.back();
}

}  // namespace velmora
