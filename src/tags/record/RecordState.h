#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "tags/id3v1/Id3v1Tag.h"
#include "tags/id3v2/Id3v2Frame.h"

namespace velmora {

class Mp3File;

// An exact copy of one frame: ID, stored body form, group, the body kept as read, and each
// field with its type, bytes and modified flag.
std::unique_ptr<Id3v2Frame> CloneFrame(const Id3v2Frame& frame);
bool SameFrame(const Id3v2Frame& a, const Id3v2Frame& b);
// Texts, track, genre and modified flag alike.
bool SameV1(const Id3v1Tag& a, const Id3v1Tag& b);
// The memory a frame holds, roughly.
std::size_t FrameMemory(const Id3v2Frame& frame);

// Everything an edit can change in a record, kept apart from it: the ID3v2 frames with
// their modified flags and frameListChanged, the ID3v1 tag with its flag, the pending name
// and the two removal marks. Restoring it puts the record back exactly, so whether the
// record needs saving comes back too.
struct RecordState {
    std::vector<std::unique_ptr<const Id3v2Frame>> frames;
    bool frameListChanged = false;
    Id3v1Tag v1;
    std::u16string name;
    bool removeV1Pending = false;
    bool removeV2Pending = false;

    static RecordState Capture(const Mp3File& record);
    void RestoreTo(Mp3File& record) const;
    // Whether the record holds exactly this state.
    bool Matches(const Mp3File& record) const;
};

}  // namespace velmora
