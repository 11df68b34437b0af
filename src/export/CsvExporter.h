#pragma once

#include <string>
#include <vector>

#include "export/Exporter.h"

namespace velmora {

namespace text {
class CodePage;
}

// The header of the key column: the full path of the file on disk.
inline constexpr char16_t kCsvPathHeader[] = u"Path";

// A CSV of the files: a header row, then one row per file: its path on disk, then the cells
// of every column of the list (hidden ones too) and the comment, as the list shows them.
class CsvExporter final : public Exporter {
  public:
    explicit CsvExporter(const text::CodePage& codePage) : codePage_(codePage) {}

    bool BuildDocument(std::string& out, const std::vector<ExportedFile>& files,
                       const std::u16string& target) override;
    ExportFileType GetFileType() const override;

  private:
    const text::CodePage& codePage_;
};

}  // namespace velmora
