#include "ui/list/FileListProxy.h"

#include "scan/FileListColumns.h"
#include "ui/bridges/QtText.h"
#include "ui/list/FileListModel.h"

namespace velmora::ui {

FileListProxy::FileListProxy(FileListModel& model, QObject* parent)
    : QSortFilterProxyModel(parent), model_(model) {
    collator_.setCaseSensitivity(Qt::CaseSensitive);
    // Keys go stale when their rows change; the next sort makes them again.
    connect(&model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& first, const QModelIndex& last) {
                ForgetKeys(first.row(), last.row());
            });
    connect(&model, &QAbstractItemModel::modelReset, this, [this] { keys_.clear(); });
    setSourceModel(&model);
    // An edit leaves its rows where they are; the workspace sorts arriving rows in during a
    // load only.
    setDynamicSortFilter(false);
}

void FileListProxy::ForgetKeys(int first, int last) {
    for (int row = first; row <= last && std::size_t(row) < keys_.size(); ++row)
        keys_[std::size_t(row)].reset();
}

const QCollatorSortKey& FileListProxy::KeyOf(int sourceRow) const {
    if (keys_.size() <= std::size_t(sourceRow))
        keys_.resize(std::size_t(model_.rowCount()));
    auto& key = keys_[std::size_t(sourceRow)];
    if (!key)
        key = collator_.sortKey(ToQString(model_.CellText(*model_.Record(sourceRow), keyColumn_)));
    return *key;
}

bool FileListProxy::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    const auto column = static_cast<Column>(left.column());
    // Numbers are read from the records at each comparison: cheaper than keeping them.
    if (const auto a = NumericSortKey(*model_.Record(left.row()), column))
        return *a < *NumericSortKey(*model_.Record(right.row()), column);
    if (left.column() != keyColumn_) {
        keys_.clear();
        keyColumn_ = left.column();
    }
    return KeyOf(left.row()).compare(KeyOf(right.row())) < 0;
}

void FileListProxy::SetFilterText(const QString& text) {
    if (text == filterText_)
        return;
    filterText_ = text;
    Refilter();
}

void FileListProxy::Refilter() {
    invalidateRowsFilter();
    // Outside a load, rows that come back are not placed by the sort: sort them in.
    if (!dynamicSortFilter() && sortColumn() >= 0)
        sort(sortColumn(), sortOrder());
}

bool FileListProxy::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
    if (filterText_.isEmpty())
        return true;
    const Mp3File& record = *model_.Record(sourceRow);
    for (int column = 0; column < model_.columnCount(); ++column) {
        if (header_ && header_->isSectionHidden(column))
            continue;
        if (ToQString(model_.CellText(record, column)).contains(filterText_, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

}  // namespace velmora::ui
