#pragma once

#include <QDialog>
#include <vector>

#include "ui/BatchDialogContext.h"

class QLabel;
class QLineEdit;
class QTableWidget;

namespace velmora {
class Mp3File;
}

namespace velmora::ui {

class RecentExpressions;

// The Rename dialog: an expression of text and tag variables, the recent expressions, and a
// preview of old and new names that marks, before anything is applied, the names that
// would collide or be refused. "Rename" gives each file the preview shows as possible its
// new name (one undoable action) and leaves in `batch` only the files renamed.
class RenameDialog : public QDialog {
    Q_OBJECT

  public:
    RenameDialog(std::vector<Mp3File*>& batch, const BatchDialogContext& context,
                 QWidget* parent = nullptr);

    QLineEdit& Expression() { return *expression_; }
    QTableWidget& Preview() { return *preview_; }
    QLabel& Problem() { return *problem_; }

  private:
    void UpdatePreview();
    void Rename();
    void DeleteSelected();

    std::vector<Mp3File*>& batch_;
    BatchDialogContext context_;
    QLineEdit* expression_;
    RecentExpressions* recent_;
    QTableWidget* preview_;
    QLabel* problem_;
};

}  // namespace velmora::ui
