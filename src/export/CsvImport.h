#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "batch/CellEdits.h"
#include "scan/FileListColumns.h"

namespace velmora {

// The rows of an imported CSV: the path that keys each row and the cells of the columns
// its header names.
struct CsvImportTable {
    std::vector<Column> columns;
    struct Row {
        std::u16string path;
        std::vector<std::u16string> cells;
    };
    std::vector<Row> rows;
    // Why the document cannot be imported (it is no CSV, a header names an unknown column
    // or lacks the path, a row has another number of fields); empty when it can.
    std::u16string error;
};
CsvImportTable ReadCsvImport(std::string_view document);

// What importing the rows into these records would do: the cells that differ (refused values
// with why), and the paths of rows that match no record. A row matches the record whose path
// on disk it names, else the one record with that file name. Columns that show facts of the
// file (Bitrate, Directory, Duration) are not imported.
struct CsvImportPlan {
    batch::CellPlan cells;
    std::vector<std::u16string> unmatched;
};
CsvImportPlan PlanCsvImport(const CsvImportTable& table, std::span<Mp3File* const> records,
                            const text::CodePage& codePage);
// The first half of PlanCsvImport: the edits the matched rows ask for, not yet compared with
// the records (a batch::CellPlanner does that, in steps if need be), and the unmatched paths.
// Rows that match one record between them are not imported, since either could be meant: a
// refusal says which.
struct CsvImportEdits {
    std::vector<batch::CellEdit> wanted;
    std::vector<std::u16string> unmatched;
    std::vector<Message> refusals;
};
CsvImportEdits MatchCsvImport(const CsvImportTable& table, std::span<Mp3File* const> records);
// The second half: the plan of the matched edits once checked, the matching's refusals first.
CsvImportPlan FinishCsvImport(CsvImportEdits matched, batch::CellPlan checked);

}  // namespace velmora
