#include "ui/commands/SaveCommands.h"

#include "ui/app/Actions.h"
#include "ui/app/Workspace.h"
#include "ui/bridges/QtText.h"
#include "ui/bridges/UiMessageSink.h"

namespace velmora::ui {

SaveCommands::SaveCommands(Workspace& workspace, UiMessageSink& sink, QObject* parent)
    : QObject(parent),
      workspace_(workspace),
      sink_(sink),
      save_(MakeAction(this, tr("&Save"), tr("Save changes"), {QKeySequence::Save})) {
    connect(save_, &QAction::triggered, this, [this] { workspace_.Save(); });
    connect(&workspace, &Workspace::stateChanged, this, &SaveCommands::UpdateActions);
    UpdateActions();
}

void SaveCommands::UpdateActions() {
    save_->setEnabled(workspace_.IsIdle());
}

bool SaveCommands::MayDiscard(const std::function<void()>& retry) {
    // Typed text counts as a change to save.
    workspace_.ApplyPendingEdits();
    if (workspace_.UpdatedCount() == 0)
        return true;
    switch (sink_.Show(NoteMessage({ToU16(tr("Do you want to save changes?"))}, kAppCaption,
                                   MessageIcon::Question, MessageButtons::YesNoCancel))) {
        case MessageAnswer::Yes:
            workspace_.Save(retry);
            return false;
        case MessageAnswer::No:
            return true;
        default:
            return false;
    }
}

}  // namespace velmora::ui
