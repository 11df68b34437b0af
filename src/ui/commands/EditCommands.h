#pragma once

#include <QObject>

class QAction;

namespace velmora::ui {

class Workspace;

// Undo and Redo over the edit journal; each item names the action it would undo or redo.
class EditCommands : public QObject {
    Q_OBJECT

  public:
    EditCommands(Workspace& workspace, QObject* parent = nullptr);

    QAction* Undo() const { return undo_; }
    QAction* Redo() const { return redo_; }

    void UpdateActions();

  private:
    // Undo (true) or Redo the journal's newest action.
    void Move(bool undo);

    Workspace& workspace_;
    QAction* undo_;
    QAction* redo_;
};

}  // namespace velmora::ui
