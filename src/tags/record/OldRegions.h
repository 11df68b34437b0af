#pragma once

#include <cstdint>
#include <vector>

#include "tags/record/SaveRecorder.h"
#include "tags/record/TagSavePlan.h"

namespace velmora {

class BufferedFile;

// Bytes of the old file read with its facts, which RegionsBefore takes from here rather than
// asking the system for them again.
struct ReadAhead {
    std::vector<std::uint8_t> first;  // from offset 0
    std::vector<std::uint8_t> last;   // the file's last bytes, as many as an ID3v1 record
};

// The facts a save is planned from; with `ahead` (for a save the history records), also the
// first bytes of the file, which hold most tags of text and a cover's first edge, and its last
// ones.
FileFacts ReadFacts(BufferedFile& file, ReadAhead* ahead);

// The ends of the old file that `plan` replaces, read from the open file before anything is
// written; the bodies the new tag takes over byte for byte are not read (nor their room in
// the head filled), but for their edges. Throws CFileExceptionEx when the file is shorter.
ReplacedRegions RegionsBefore(BufferedFile& file, const TagSave& save, const SavePlan& plan,
                              const ReadAhead& ahead);

}  // namespace velmora
