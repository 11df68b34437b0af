#pragma once

#include <QAbstractTableModel>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "history/HistoryStore.h"

namespace velmora::ui {

// The batches of the history, newest first: when, what, how many files and how many of
// them are still as the batch left them (counted when the row is first shown).
class BatchListModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    using MatchCounter = std::function<std::size_t(std::int64_t batch)>;

    explicit BatchListModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}
    void Reset(std::vector<history::BatchRow> batches, MatchCounter counter);
    const history::BatchRow& Batch(int row) const { return batches_[std::size_t(row)]; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    std::vector<history::BatchRow> batches_;
    MatchCounter counter_;
    mutable std::vector<std::optional<std::size_t>> matching_;
};

}  // namespace velmora::ui
