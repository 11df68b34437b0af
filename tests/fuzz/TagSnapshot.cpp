#include "fuzz/TagSnapshot.h"

#include "tags/Id3v2Serializer.h"
#include "tags/Id3v2Tag.h"

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

Id3v1Snapshot SnapshotV1(const Id3v1Tag& tag) {
    Id3v1Snapshot snapshot;
    for (std::size_t i = 0; i < Id3v1Tag::kTextCount; ++i)
        snapshot.texts[i] = tag.Text(i);
    snapshot.track = tag.Track();
    snapshot.genre = tag.Genre();
    return snapshot;
}

}  // namespace velmora::fuzz
