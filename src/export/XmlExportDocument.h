#pragma once

#include <string>
#include <vector>

#include "export/ExportedFile.h"
#include "export/XmlElement.h"
#include "export/XmlExportOptions.h"

namespace velmora {

inline constexpr char16_t kXmlGeneratorName[] = u"Velmora 1.1";

// The root MP3List: a Generator element, then the files nested level by level as the
// structure says. A grouping level partitions its files by the key's text (exact
// comparison), groups in the order of their first file, files in their order; a "List"
// level, and the level after the last one, lists one File element per file.
XmlElement BuildXmlExportTree(const XmlExportOptions& options,
                              const std::vector<ExportedFile>& files);

// The tree serialized and encoded: the bytes of the XML file.
std::string BuildXmlExportDocument(const XmlExportOptions& options,
                                   const std::vector<ExportedFile>& files);

// Adds to `parent` one File element with the attributes the options select.
void AddFileElement(XmlElement& parent, const XmlExportOptions& options, const ExportedFile& file);

}  // namespace velmora
