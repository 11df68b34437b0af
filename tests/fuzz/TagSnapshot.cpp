#include "fuzz/TagSnapshot.h"

#include "tags/id3v2/Id3v2Serializer.h"
#include "tags/id3v2/Id3v2Tag.h"

namespace velmora::fuzz {

std::vector<FrameSnapshot> SnapshotFrames(const Id3v2Tag& tag, std::uint8_t majorVersion,
                                          const text::CodePage& codePage,
                                          const StoredBodySource* source) {
    std::vector<FrameSnapshot> frames;
    frames.reserve(tag.Frames().size());
    for (const auto& frame : tag.Frames()) {
        frames.push_back(
            {frame->Id().ToString(), SerializeFrameBody(*frame, majorVersion, codePage, source),
             frame->BodyForm().compressed, frame->BodyForm().encryptionMethod, frame->GroupId()});
    }
    return frames;
}

}  // namespace velmora::fuzz
