#pragma once

#include <vector>

#include "ui/ExpressionDialog.h"

namespace velmora::ui {

// The Rename dialog: an expression of text and tag variables, the recent expressions, and a
// preview of old and new names that marks, before anything is applied, the names that
// would collide or be refused. "Rename" gives each file the preview shows as possible its
// new name (one undoable action) and leaves in `batch` only the files renamed.
class RenameDialog : public ExpressionDialog {
    Q_OBJECT

  public:
    RenameDialog(std::vector<Mp3File*>& batch, const BatchDialogContext& context,
                 QWidget* parent = nullptr);

  private:
    void UpdatePreview() override;
    void Run() override;

    std::vector<Mp3File*>& batch_;
};

}  // namespace velmora::ui
