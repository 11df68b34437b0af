#pragma once

#include <QStringList>
#include <QTableWidget>
#include <vector>

namespace velmora::ui {

// One file's row in a dialog's preview; a marked row is one the command will not apply.
struct PreviewRow {
    QStringList cells;
    bool marked = false;
};

// A read-only table of whole rows with these column titles.
QTableWidget* MakePreviewTable(const QStringList& titles);
// Replaces the rows; marked rows are shown in the error colour with a warning icon.
void ShowPreviewRows(QTableWidget& table, const std::vector<PreviewRow>& rows);
// The rows of the table that are marked.
std::vector<int> MarkedPreviewRows(const QTableWidget& table);

}  // namespace velmora::ui
