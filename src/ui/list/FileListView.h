#pragma once

#include <QTableView>
#include <vector>

class QMenu;

#include "scan/FileListColumns.h"
#include "ui/list/ListDisplay.h"

namespace velmora {
class Mp3File;
}

namespace velmora::ui {

class FileListModel;
class FileListProxy;

// The list of loaded files: whole rows, several at once, the selection shown also without
// focus, columns that can be dragged into another order, and a header click to sort.
class FileListView : public QTableView {
    Q_OBJECT

  public:
    FileListView(FileListModel& model, FileListProxy& proxy, QWidget* parent = nullptr);

    void ApplyDisplay(const ListDisplay& display);
    // The selected records, rows from top to bottom as shown.
    std::vector<Mp3File*> SelectedRecords() const;
    // The records of every row shown (after the filter), top to bottom.
    std::vector<Mp3File*> ShownRecords() const;
    // The record of the current row (the one with the focus frame); null when none is.
    Mp3File* CurrentRecord() const;

    // The shown columns in the order shown, from `column` on.
    std::vector<Column> ShownColumnsFrom(int column) const;
    // The records an edit of a cell in this row goes to: the selected ones when the row is
    // selected, else its own.
    std::vector<Mp3File*> EditedRecords(const QModelIndex& row) const;

    // Whether F2 or typing opens a cell's editor (not while a worker changes the records).
    void SetEditable(bool editable);
    // Applies what is typed in a cell's open editor, as Enter would: a save, an undo or a
    // closing window must not lose it.
    void CommitTyping();

    // One check item per column but the file name: shown or hidden (the header's menu).
    void FillColumnMenu(QMenu& menu);

    // Widths of the columns, in pixels, in their order.
    static int DefaultWidth(int column);

  signals:
    // A right click (or the menu key) on a selected row.
    void contextMenuWanted(const QPoint& globalPos);
    // Double-click or Enter on a row: the current row's file is to be opened.
    void openWanted();
    // A value typed into a cell of `column` is to go to these records.
    void cellsEdited(const std::vector<velmora::Mp3File*>& records, int column,
                     const QString& value);
    // Copy or Paste keys on the list.
    void copyWanted();
    void pasteWanted();

  protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // F2 edits the current cell here, before the window's Rename shortcut takes it.
    bool event(QEvent* event) override;
    // Tab and Backtab go to the next or previous editable cell of the row, keeping the
    // selection, so that a value typed next goes to the same rows.
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

  private:
    FileListModel& model_;
    FileListProxy& proxy_;
    bool committing_ = false;
};

}  // namespace velmora::ui
