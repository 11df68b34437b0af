#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/Messages.h"
#include "scan/FileListColumns.h"

namespace velmora {

class Mp3File;
struct EngineContext;

namespace batch {

// Cells a user can type into, paste into or import: the tag texts of the list, the comment,
// and the file name (a rename pending until the save). Bitrate, Directory and Duration are
// facts of the file.
bool IsEditableColumn(Column column);

// A value for one cell of one record.
struct CellEdit {
    Mp3File* record = nullptr;
    Column column = Column::Filename;
    std::u16string value;
};

// What a set of cell edits would do: the edits that change a cell, in the order given, and
// the refused ones with why. A value equal to what the cell shows is no change, so a copy
// pasted back changes nothing.
struct CellPlan {
    std::vector<CellEdit> changes;
    std::vector<Message> refusals;
};

// Checks the values by the editor's rules: a Year of digits only, a file name that is not
// hidden, not taken and for an MP3 (the renames of the plan follow one another, as at the
// save); a column that cannot be edited refuses every value.
CellPlan PlanCellEdits(std::vector<CellEdit> wanted, const text::CodePage& codePage);

// The same plan a part at a time, so that a long one can yield between parts (the records
// must not change meanwhile). Progress counts records: a run of edits of one record is one.
class CellPlanner {
  public:
    CellPlanner(std::vector<CellEdit> wanted, const text::CodePage& codePage);
    // Checks the edits of up to `records` more records; false once every edit is checked.
    bool Step(std::size_t records);
    std::size_t RecordsDone() const { return recordsDone_; }
    std::size_t RecordsTotal() const { return recordsTotal_; }
    // The plan once every edit is checked, the file names checked together.
    CellPlan Finish();

  private:
    std::vector<CellEdit> wanted_;
    const text::CodePage& codePage_;
    std::size_t next_ = 0;
    std::size_t recordsDone_ = 0;
    std::size_t recordsTotal_ = 0;
    CellPlan plan_;
};

// What pasting lines of fields does: line i goes to the i-th row, its fields to `columns` in
// turn (the shown columns from the current one on; fields beyond them are dropped); one line
// goes to every row. Empty for any other number of lines: the caller says why.
std::vector<CellEdit> PasteEdits(std::span<Mp3File* const> rows, std::span<const Column> columns,
                                 const std::vector<std::vector<std::u16string>>& lines);
bool PasteFits(std::size_t lines, std::size_t rows);

// Writes a planned edit into its record: Track as TRCK (without leading zeros), a Genre name
// or number as its reference, a file name as the name after the next save.
void ApplyCellEdit(const CellEdit& edit, const EngineContext& context);

// The value as the cell would store it: Genre "17" is "(17)"; other values as they are.
std::u16string StoredCellValue(Column column, std::u16string_view value);

}  // namespace batch
}  // namespace velmora
