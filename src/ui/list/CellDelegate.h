#pragma once

#include <QStyledItemDelegate>

namespace velmora::ui {

// Edits a cell of the list in a line: Year takes digits only, Genre completes the genre
// names. What is typed is not written into the model: the view hands it on as an edit of the
// selected rows.
class CellDelegate final : public QStyledItemDelegate {
    Q_OBJECT

  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

  signals:
    // Enter or Tab (not Escape) ended the editing of the cell at `index` (of the view's model).
    void valueTyped(const QModelIndex& index, const QString& value) const;
};

}  // namespace velmora::ui
