#pragma once

#include <vector>

#include "ui/dialogs/ExpressionDialog.h"

namespace velmora::ui {

// The Rename dialog: an expression of text and tag variables, the recent expressions, and a
// preview of old and new names that marks, before anything is applied, the names that
// would collide or be refused. "Rename" gives each file the preview shows as possible its
// new name (one undoable action); Renamed() then lists those files.
class RenameDialog : public ExpressionDialog {
    Q_OBJECT

  public:
    RenameDialog(const std::vector<Mp3File*>& batch, const BatchDialogContext& context,
                 QWidget* parent = nullptr);

    // The files given their new names; empty until "Rename" has run.
    std::vector<Mp3File*> Renamed() const { return renamed_; }

  private:
    // The captions, and the recent expressions with the last one to start from.
    static Kind MakeKind(SettingsKey& settings);
    void UpdatePreview() override;
    void Run() override;

    const std::vector<Mp3File*>& batch_;
    std::vector<Mp3File*> renamed_;
};

}  // namespace velmora::ui
