#include "ui/dialogs/PreviewTable.h"

#include <QApplication>
#include <QHeaderView>
#include <QStyle>

namespace velmora::ui {
namespace {

// Kept on the first cell of a marked row, so tests and tools can tell it without colours.
constexpr int kMarkedRole = Qt::UserRole + 1;

}  // namespace

QTableWidget* MakePreviewTable(const QStringList& titles) {
    auto* table = new QTableWidget(0, int(titles.size()));
    table->setHorizontalHeaderLabels(titles);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    table->setWordWrap(false);
    return table;
}

void ShowPreviewRows(QTableWidget& table, const std::vector<PreviewRow>& rows) {
    table.setUpdatesEnabled(false);
    table.setRowCount(int(rows.size()));
    const QIcon warning = QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
    for (int row = 0; row < int(rows.size()); ++row) {
        const PreviewRow& preview = rows[std::size_t(row)];
        for (int column = 0; column < table.columnCount(); ++column) {
            auto* item = new QTableWidgetItem(preview.cells.value(column));
            if (preview.marked)
                item->setForeground(QBrush(Qt::red));
            table.setItem(row, column, item);
        }
        QTableWidgetItem* first = table.item(row, 0);
        first->setData(kMarkedRole, preview.marked);
        if (preview.marked)
            first->setIcon(warning);
    }
    table.resizeColumnsToContents();
    table.setUpdatesEnabled(true);
}

std::vector<int> MarkedPreviewRows(const QTableWidget& table) {
    std::vector<int> marked;
    for (int row = 0; row < table.rowCount(); ++row) {
        if (table.item(row, 0)->data(kMarkedRole).toBool())
            marked.push_back(row);
    }
    return marked;
}

}  // namespace velmora::ui
