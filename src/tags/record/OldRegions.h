#pragma once

#include "tags/record/SaveRecorder.h"
#include "tags/record/TagSavePlan.h"

namespace velmora {

class BufferedFile;

// The ends of the old file that `plan` replaces, read from the open file before anything is
// written; the bodies the new tag takes over byte for byte are not read (nor their room in
// the head filled), but for their edges. Throws CFileExceptionEx when the file is shorter.
ReplacedRegions RegionsBefore(BufferedFile& file, const TagSave& save, const SavePlan& plan);

}  // namespace velmora
