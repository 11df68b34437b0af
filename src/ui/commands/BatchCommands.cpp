#include "ui/commands/BatchCommands.h"

#include <QItemSelectionModel>
#include <algorithm>
#include <optional>
#include <vector>

#include "ui/app/Actions.h"
#include "ui/app/UiEnvironment.h"
#include "ui/app/Workspace.h"
#include "ui/dialogs/GenerateDialog.h"
#include "ui/dialogs/RenameDialog.h"
#include "ui/list/FileListView.h"

namespace velmora::ui {
namespace {

// The files the user renamed through the dialog; none when they cancelled.
std::optional<std::vector<Mp3File*>> Renamed(const std::vector<Mp3File*>& batch,
                                             const BatchDialogContext& context, QWidget* window) {
    RenameDialog dialog(batch, context, window);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Renamed();
}

// Whether the user generated tags through the dialog.
bool Generated(const std::vector<Mp3File*>& batch, const BatchDialogContext& context,
               QWidget* window) {
    GenerateDialog dialog(batch, context, window);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace

BatchCommands::BatchCommands(Workspace& workspace, FileListView& view, UiEnvironment& environment,
                             QWidget* window)
    : QObject(window),
      workspace_(workspace),
      view_(view),
      environment_(environment),
      window_(window),
      rename_(MakeAction(this, tr("Re&name..."), tr("Rename the file according to its tag"),
                         {QKeySequence(Qt::Key_F2)})),
      generate_(MakeAction(this, tr("&Generate ID3..."),
                           tr("Generate ID3 information by using regular expressions to get "
                              "data from file names"),
                           {QKeySequence(Qt::CTRL | Qt::Key_G)})) {
    connect(rename_, &QAction::triggered, this, &BatchCommands::RunRename);
    connect(generate_, &QAction::triggered, this, &BatchCommands::RunGenerate);
    connect(view.selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &BatchCommands::UpdateActions);
    connect(&workspace, &Workspace::stateChanged, this, &BatchCommands::UpdateActions);
    UpdateActions();
}

void BatchCommands::UpdateActions() {
    const bool editable = workspace_.IsIdle() && view_.selectionModel()->hasSelection();
    rename_->setEnabled(editable);
    generate_->setEnabled(editable);
}

BatchDialogContext BatchCommands::DialogContext() const {
    return {environment_.Settings(), environment_.Context(), workspace_.Journal(),
            environment_.Messages()};
}

void BatchCommands::RunRename() {
    const std::vector<Mp3File*> selected = view_.SelectedRecords();
    if (!workspace_.IsIdle() || selected.empty())
        return;
    const std::optional<std::vector<Mp3File*>> renamed =
        Renamed(selected, DialogContext(), window_);
    if (!renamed)
        return;
    const std::vector<Mp3File*>& batch = *renamed;
    // The rows whose name did not change leave the selection.
    QItemSelectionModel& selection = *view_.selectionModel();
    const FileListProxy& proxy = workspace_.Proxy();
    for (const QModelIndex& row : selection.selectedRows()) {
        Mp3File* record = workspace_.Model().Record(proxy.mapToSource(row).row());
        if (std::find(batch.begin(), batch.end(), record) == batch.end())
            selection.select(row, QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    }
    workspace_.RecordsEdited(batch);
}

void BatchCommands::RunGenerate() {
    const std::vector<Mp3File*> batch = view_.SelectedRecords();
    if (!workspace_.IsIdle() || batch.empty())
        return;
    if (!Generated(batch, DialogContext(), window_))
        return;
    workspace_.RecordsEdited(batch);
    emit tagsGenerated();
}

}  // namespace velmora::ui
