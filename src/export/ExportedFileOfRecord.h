#pragma once

#include <vector>

#include "export/Export.h"
#include "export/ExportedFile.h"

namespace velmora {

class Id3v1Tag;
class Id3v2Tag;
class Mp3File;
struct EngineContext;
namespace text {
class CodePage;
}

// Fills the tag fields of `file`: the texts of TPE1, TALB, TIT2, TYER (TDRC in a tag
// without TYER), TRCK, the genre as shown, and the ID3v1 fields. Absent frames give empty
// texts.
void DescribeTags(const Id3v2Tag& tag, const Id3v1Tag& v1, const text::CodePage& codePage,
                  ExportedFile& file);

// Everything an export reads of one record; the name is the one after the next save.
ExportedFile DescribeForExport(const Mp3File& record, const text::CodePage& codePage);

// Export (Export.h) of records: the selected rows in display order, or all loaded files.
ExportOutcome Export(Exporter& exporter, const std::vector<const Mp3File*>& records,
                     ExportTargetChooser& chooser, const EngineContext& context);

}  // namespace velmora
