#pragma once

#include <QDialog>
#include <vector>

#include "ui/dialogs/ChangeTableModel.h"

namespace velmora {
class Mp3File;
struct EngineContext;
}  // namespace velmora

namespace velmora::ui {

// "Review changes...": the old -> new table of what a Save would write, file by file, from
// the files as they are on disk to the pending edits. Nothing is written.
class ReviewDialog : public QDialog {
    Q_OBJECT

  public:
    ReviewDialog(EngineContext& context, std::vector<Mp3File*> records, QWidget* parent = nullptr);

  private:
    std::vector<Mp3File*> records_;
    ChangeTableModel changes_;
};

}  // namespace velmora::ui
