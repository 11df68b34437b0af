#include "ui/list/FileListModel.h"

#include <QFont>
#include <algorithm>

#include "batch/CellEdits.h"
#include "scan/FileListColumns.h"
#include "tags/record/Mp3File.h"
#include "ui/bridges/CoreWords.h"
#include "ui/bridges/QtText.h"

namespace velmora::ui {
FileListModel::FileListModel(const text::CodePage& codePage, QObject* parent)
    : QAbstractTableModel(parent),
      codePage_(codePage),
      cleanIcon_(CleanRowIcon()),
      updatedIcon_(UpdatedRowIcon()) {}

QString OnOneLine(QString text) {
    text.replace(QLatin1Char('\n'), kLineBreakMark);
    text.replace(QLatin1Char('\r'), kLineBreakMark);
    return text;
}

int FileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int FileListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(kColumnCount);
}

std::u16string FileListModel::CellText(const Mp3File& record, int column) const {
    if (!held_.empty()) {
        const auto held = held_.find(&record);
        if (held != held_.end())
            return held->second[std::size_t(column)];
    }
    return velmora::CellText(record, static_cast<velmora::Column>(column), codePage_);
}

bool FileListModel::NeedsSave(const Mp3File& record) const {
    return held_.contains(&record) || record.NeedsSave();
}

void FileListModel::HoldChangedRecords() {
    for (const Mp3File* record : rows_) {
        if (record->NeedsSave()) {
            Cells cells;
            for (std::size_t column = 0; column < kColumnCount; ++column)
                cells[column] = CellText(*record, int(column));
            held_.emplace(record, std::move(cells));
        }
    }
}

void FileListModel::ReleaseChangedRecords() {
    held_.clear();
    RowsChanged();
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const Mp3File& record = *rows_[std::size_t(index.row())];
    switch (role) {
        case Qt::DisplayRole:
            return OnOneLine(ToQString(CellText(record, index.column())));
        case Qt::EditRole:
            return ToQString(CellText(record, index.column()));
        case Qt::ForegroundRole:
            if (display_.showRedText && NeedsSave(record))
                return kUpdatedText;
            return {};
        case Qt::FontRole:
        case Qt::ToolTipRole:
            // Values of a file's ID3v1 tag stand where its ID3v2 tag has none: in italics.
            if (held_.contains(&record) ||
                !CellFromId3v1(record, static_cast<Column>(index.column()), codePage_))
                return {};
            if (role == Qt::ToolTipRole)
                return tr("From the ID3v1 tag");
            {
                QFont font;
                font.setItalic(true);
                return font;
            }
        case Qt::DecorationRole:
            if (static_cast<Column>(index.column()) != Column::Filename)
                return {};
            return display_.showIcons && NeedsSave(record) ? updatedIcon_ : cleanIcon_;
        default:
            return {};
    }
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= int(kColumnCount))
        return {};
    if (role == Qt::DisplayRole)
        return ColumnWord(Column(section));
    return {};
}

Qt::ItemFlags FileListModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    // A row held during a save shows what the worker may be rewriting.
    if (index.isValid() && batch::IsEditableColumn(static_cast<Column>(index.column())) &&
        !held_.contains(rows_[std::size_t(index.row())]))
        flags |= Qt::ItemIsEditable;
    return flags;
}

void FileListModel::Clear() {
    beginResetModel();
    rows_.clear();
    rows_.shrink_to_fit();
    changed_.RowsChanged();
    endResetModel();
}

void FileListModel::Append(std::span<Mp3File* const> records) {
    if (records.empty())
        return;
    const int first = int(rows_.size());
    beginInsertRows({}, first, first + int(records.size()) - 1);
    rows_.insert(rows_.end(), records.begin(), records.end());
    changed_.RowsChanged();
    endInsertRows();
}

void FileListModel::RowsChanged() {
    if (!rows_.empty())
        emit dataChanged(index(0, 0), index(int(rows_.size()) - 1, int(kColumnCount) - 1));
}

void FileListModel::ReplaceRecord(const Mp3File* old, Mp3File* fresh) {
    const auto row = std::find(rows_.begin(), rows_.end(), old);
    if (row == rows_.end())
        return;
    *row = fresh;
    changed_.RowsChanged();
    const int at = int(row - rows_.begin());
    emit dataChanged(index(at, 0), index(at, int(kColumnCount) - 1));
}

void FileListModel::RecordsChanged(std::span<Mp3File* const> records) {
    MarkChanged(records);
    RepaintChanged();
}

void FileListModel::RepaintChanged() {
    const int lastColumn = int(kColumnCount) - 1;
    changed_.Flush(
        [&](int first, int last) { emit dataChanged(index(first, 0), index(last, lastColumn)); });
}

void FileListModel::SetDisplay(const ListDisplay& display) {
    display_ = display;
    RowsChanged();
}

}  // namespace velmora::ui
