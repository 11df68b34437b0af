#include "ui/dialogs/BatchListModel.h"

#include <QDateTime>

#include "ui/bridges/QtText.h"

namespace velmora::ui {
namespace {

enum BatchColumn { kTime, kWhat, kFiles, kMatching, kBatchColumns };

QString LocalTime(const std::string& utc) {
    const QDateTime time = QDateTime::fromString(QString::fromStdString(utc), Qt::ISODate);
    return time.isValid() ? time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                          : QString::fromStdString(utc);
}

}  // namespace

void BatchListModel::Reset(std::vector<history::BatchRow> batches, MatchCounter counter) {
    beginResetModel();
    batches_ = std::move(batches);
    counter_ = std::move(counter);
    matching_.assign(batches_.size(), std::nullopt);
    endResetModel();
}

int BatchListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(batches_.size());
}

int BatchListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kBatchColumns;
}

QVariant BatchListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    const std::size_t row = std::size_t(index.row());
    const history::BatchRow& batch = batches_[row];
    switch (index.column()) {
        case kTime:
            return LocalTime(batch.started);
        case kWhat:
            return batch.finished.empty() ? tr("%1 (cut short)").arg(ToQString(batch.summary))
                                          : ToQString(batch.summary);
        case kFiles:
            return qlonglong(batch.files);
        case kMatching:
            if (!matching_[row])
                matching_[row] = counter_(batch.id);
            return qulonglong(*matching_[row]);
        default:
            return {};
    }
}

QVariant BatchListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
        case kTime:
            return tr("Time");
        case kWhat:
            return tr("What");
        case kFiles:
            return tr("Files");
        case kMatching:
            return tr("Still as saved");
        default:
            return {};
    }
}

}  // namespace velmora::ui
