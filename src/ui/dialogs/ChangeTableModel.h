#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "scan/ChangeRows.h"

namespace velmora::ui {

// The old -> new table of files: one row per file, a column per field of the list ("old ->
// new" where it changed), "pictures changed" where they did, and a note (why a file would be
// skipped). Rows are worked out when first shown, so a batch of 10,000 files opens at once.
class ChangeTableModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    struct Row {
        FileChange change;
        QString note;
    };
    using RowSource = std::function<Row(std::size_t row)>;

    explicit ChangeTableModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}
    void Reset(std::size_t rows, RowSource source);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    const Row& RowAt(std::size_t row) const;

    RowSource source_;
    mutable std::vector<std::optional<Row>> rows_;
};

}  // namespace velmora::ui
