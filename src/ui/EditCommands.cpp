#include "ui/EditCommands.h"

#include "ui/Actions.h"
#include "ui/Workspace.h"

namespace velmora::ui {

EditCommands::EditCommands(Workspace& workspace, QObject* parent)
    : QObject(parent),
      workspace_(workspace),
      undo_(MakeAction(
          this, tr("&Undo"), tr("Undo the last action"),
          {QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)})),
      redo_(MakeAction(this, tr("&Redo"), tr("Redo the action undone last"),
                       {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)})) {
    connect(&workspace, &Workspace::stateChanged, this, &EditCommands::UpdateActions);
    UpdateActions();
}

void EditCommands::UpdateActions() {
    // Nothing is recorded to undo yet.
    undo_->setEnabled(false);
    redo_->setEnabled(false);
}

}  // namespace velmora::ui
