#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <array>
#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "scan/FileListColumns.h"
#include "ui/list/ChangedRows.h"
#include "ui/list/ListDisplay.h"

namespace velmora {
class Mp3File;
namespace text {
class CodePage;
}
}  // namespace velmora

namespace velmora::ui {

// What a line break in a cell shows as: a row is one line, and a name with a break in it
// must not pass for one without.
inline constexpr QChar kLineBreakMark{0x21B5};
QString OnOneLine(QString text);

// The file list as a table: one row per record of the loader's list, in list order. Rows
// hold only the record's address; every cell is read from the record when it is drawn.
class FileListModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    // The core's columns, in their order; a view's column number is the column's index.
    static constexpr std::size_t kColumnCount = kAllColumns.size();

    explicit FileListModel(const text::CodePage& codePage, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // The cells of tag texts and the file name can be edited (the view applies the edit).
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Removes every row (before the records go).
    void Clear();
    // Adds rows for the records, after the last one shown.
    void Append(std::span<Mp3File* const> records);
    // Repaints every row: records changed in place (a save, the display options).
    void RowsChanged();
    // Repaints the rows of these records (an edit), one signal per run of adjacent rows.
    void RecordsChanged(std::span<Mp3File* const> records);
    // The same in parts, for an edit in slices: the rows are found as their records change,
    // and repainted at the end.
    void MarkChanged(std::span<Mp3File* const> records,
                     const std::function<void(std::size_t row)>& found = {}) {
        changed_.Mark(records, found);
    }
    void RepaintChanged();
    // Calls `found` with the row of each record that has one.
    void FindRows(std::span<const Mp3File* const> records,
                  const std::function<void(std::size_t row)>& found) {
        changed_.Find(records, found);
    }
    // The row of `old` shows `fresh` from now on (the file was loaded again).
    void ReplaceRecord(const Mp3File* old, Mp3File* fresh);
    void SetDisplay(const ListDisplay& display);
    const ListDisplay& Display() const { return display_; }

    // While a save runs the worker rewrites the records that need saving, so the rows read
    // what those records showed when it started instead; the other records are only read
    // by both threads.
    void HoldChangedRecords();
    void ReleaseChangedRecords();

    Mp3File* Record(int row) const { return rows_[std::size_t(row)]; }
    const std::vector<Mp3File*>& Records() const { return rows_; }
    std::u16string CellText(const Mp3File& record, int column) const;
    bool NeedsSave(const Mp3File& record) const;

  private:
    using Cells = std::array<std::u16string, kColumnCount>;

    const text::CodePage& codePage_;
    std::vector<Mp3File*> rows_;
    ChangedRows changed_{rows_};
    std::unordered_map<const Mp3File*, Cells> held_;
    ListDisplay display_;
    QIcon cleanIcon_;
    QIcon updatedIcon_;
};

}  // namespace velmora::ui
