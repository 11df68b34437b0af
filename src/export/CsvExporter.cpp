#include "export/CsvExporter.h"

#include "export/CsvText.h"
#include "export/FileUri.h"
#include "scan/FileListColumns.h"
#include "tags/record/Mp3File.h"
#include "text/FileName.h"

namespace velmora {

bool CsvExporter::BuildDocument(std::string& out, const std::vector<ExportedFile>& files,
                                const std::u16string&) {
    std::vector<std::u16string> row{kCsvPathHeader};
    for (const Column column : kCsvColumns)
        row.emplace_back(ColumnInfoOf(column).header);
    AppendCsvRecord(out, row);
    for (const ExportedFile& file : files) {
        row.clear();
        // A path that is not UTF-8 has no place in a UTF-8 table but as a file URI.
        const std::u16string path = file.record->DiskPath();
        row.push_back(text::HoldsEscapedBytes(path) ? FileUri(path) : path);
        for (const Column column : kCsvColumns)
            row.push_back(CellText(*file.record, column, codePage_));
        AppendCsvRecord(out, row);
    }
    return true;
}

ExportFileType CsvExporter::GetFileType() const {
    return {u"csv", {{u"CSV Files", u"*.csv"}, {u"All Files", u"*.*"}}};
}

}  // namespace velmora
