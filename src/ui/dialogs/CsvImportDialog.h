#pragma once

#include <QAbstractTableModel>
#include <QDialog>

#include "export/CsvImport.h"

namespace velmora::text {
class CodePage;
}

namespace velmora::ui {

// The preview of an import: one row per cell that changes (file, column, old -> new), then
// one per row of the CSV that matches no loaded file. Cells are read when drawn, so a
// preview of many thousand rows opens at once.
class CsvPreviewModel final : public QAbstractTableModel {
    Q_OBJECT

  public:
    CsvPreviewModel(const CsvImportPlan& plan, const text::CodePage& codePage,
                    QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    const CsvImportPlan& plan_;
    const text::CodePage& codePage_;
};

// Shows what an import would change before anything does; Apply accepts.
class CsvImportDialog final : public QDialog {
    Q_OBJECT

  public:
    CsvImportDialog(const CsvImportPlan& plan, const text::CodePage& codePage,
                    QWidget* parent = nullptr);

    const CsvPreviewModel& Preview() const { return *model_; }

  private:
    CsvPreviewModel* model_;
};

}  // namespace velmora::ui
