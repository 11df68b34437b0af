#pragma once

#include <string>
#include <vector>

#include "export/M3uExporter.h"

namespace velmora {

// The PLS playlist: "[playlist]", then per entry n the lines Filen=, Titlen= and Lengthn=,
// then NumberOfEntries= and "Version=2" (with no line feed after it).
class PlsExporter final : public M3uExporter {
  public:
    using M3uExporter::M3uExporter;

    bool BuildDocument(std::string& out, const std::vector<ExportedFile>& files,
                       const std::u16string& target) override;
    ExportFileType GetFileType() const override;
};

}  // namespace velmora
