#include "ui/dialogs/ChangeTableModel.h"

#include <QFont>

#include "ui/bridges/QtText.h"

namespace velmora::ui {
namespace {

constexpr int kFieldColumns = int(kChangeColumns.size());
constexpr int kPicturesColumn = kFieldColumns;
constexpr int kNoteColumn = kFieldColumns + 1;

}  // namespace

void ChangeTableModel::Reset(std::size_t rows, RowSource source) {
    beginResetModel();
    source_ = std::move(source);
    rows_.assign(rows, std::nullopt);
    endResetModel();
}

int ChangeTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int ChangeTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kNoteColumn + 1;
}

const ChangeTableModel::Row& ChangeTableModel::RowAt(std::size_t row) const {
    if (!rows_[row])
        rows_[row] = source_(row);
    return *rows_[row];
}

QVariant ChangeTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::FontRole))
        return {};
    const Row& row = RowAt(std::size_t(index.row()));
    const int column = index.column();
    if (column == kNoteColumn)
        return role == Qt::DisplayRole ? QVariant(row.note) : QVariant();
    if (column == kPicturesColumn)
        return role == Qt::DisplayRole && row.change.picturesChanged
                   ? QVariant(tr("pictures changed"))
                   : QVariant();
    const QString before = ToQString(row.change.before[std::size_t(column)]);
    const QString after = ToQString(row.change.after[std::size_t(column)]);
    if (role == Qt::FontRole) {
        QFont font;
        font.setBold(before != after);
        return font;
    }
    return before == after ? before : before + QStringLiteral(" -> ") + after;
}

QVariant ChangeTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    if (section == kPicturesColumn)
        return tr("Pictures");
    if (section == kNoteColumn)
        return tr("Note");
    // The list's own headers.
    return ToQString(ColumnInfoOf(kChangeColumns[std::size_t(section)]).header);
}

}  // namespace velmora::ui
