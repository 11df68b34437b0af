#pragma once

#include <QObject>

#include "ui/dialogs/BatchDialogContext.h"

class QAction;
class QWidget;

namespace velmora::ui {

class FileListView;
class UiEnvironment;
class Workspace;

// "Rename..." and "Generate ID3...": each opens its dialog over the selected rows, in the
// order shown. After a rename only the renamed rows stay selected, so what a following
// command works on is what the list shows.
class BatchCommands : public QObject {
    Q_OBJECT

  public:
    BatchCommands(Workspace& workspace, FileListView& view, UiEnvironment& environment,
                  QWidget* window);

    QAction* Rename() const { return rename_; }
    QAction* Generate() const { return generate_; }

  signals:
    // "Generate ID3" rewrote tags: the editor panel shows them anew.
    void tagsGenerated();

  private:
    void RunRename();
    void RunGenerate();
    void UpdateActions();
    BatchDialogContext DialogContext() const;

    Workspace& workspace_;
    FileListView& view_;
    UiEnvironment& environment_;
    QWidget* window_;
    QAction* rename_;
    QAction* generate_;
};

}  // namespace velmora::ui
