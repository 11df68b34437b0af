#include "ui/commands/EditCommands.h"

#include "ui/app/Actions.h"
#include "ui/app/Workspace.h"
#include "ui/bridges/CoreWords.h"
#include "ui/bridges/QtText.h"

namespace velmora::ui {
namespace {

// "&Undo Capitalize", or "&Undo" alone when there is nothing to undo.
QString Caption(const QString& verb, const std::u16string& action) {
    return action.empty() ? verb : verb + QLatin1Char(' ') + ActionWord(action);
}

}  // namespace

EditCommands::EditCommands(Workspace& workspace, QObject* parent)
    : QObject(parent),
      workspace_(workspace),
      undo_(MakeAction(
          this, tr("&Undo"), tr("Undo the last action"),
          {QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)})),
      redo_(MakeAction(this, tr("&Redo"), tr("Redo the action undone last"),
                       {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)})) {
    connect(undo_, &QAction::triggered, this, [this] { Move(true); });
    connect(redo_, &QAction::triggered, this, [this] { Move(false); });
    connect(&workspace, &Workspace::stateChanged, this, &EditCommands::UpdateActions);
    connect(&workspace, &Workspace::recordsEdited, this, &EditCommands::UpdateActions);
    UpdateActions();
}

void EditCommands::Move(bool undo) {
    // Nothing happens while a worker runs.
    if (!workspace_.IsIdle())
        return;
    // Typing not applied yet is the newest change: Undo takes it back, Redo brings it again.
    workspace_.ApplyPendingEdits();
    if (undo)
        workspace_.Undo();
    else
        workspace_.Redo();
    UpdateActions();
}

void EditCommands::UpdateActions() {
    const auto& journal = workspace_.Journal();
    const bool idle = workspace_.IsIdle();
    undo_->setText(Caption(tr("&Undo"), journal.UndoName()));
    redo_->setText(Caption(tr("&Redo"), journal.RedoName()));
    undo_->setEnabled(idle && journal.CanUndo());
    redo_->setEnabled(idle && journal.CanRedo());
}

}  // namespace velmora::ui
