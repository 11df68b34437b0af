#include "ui/BatchCommands.h"

#include <QItemSelectionModel>
#include <algorithm>
#include <vector>

#include "ui/Actions.h"
#include "ui/FileListView.h"
#include "ui/GenerateDialog.h"
#include "ui/RenameDialog.h"
#include "ui/UiEnvironment.h"
#include "ui/Workspace.h"

namespace velmora::ui {

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

void BatchCommands::RunRename() {
    std::vector<Mp3File*> batch = view_.SelectedRecords();
    if (!workspace_.IsIdle() || batch.empty())
        return;
    RenameDialog dialog(batch,
                        {environment_.Settings(), environment_.Context(), workspace_.Journal(),
                         environment_.Messages()},
                        window_);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The rows whose name did not change leave the selection.
    QItemSelectionModel& selection = *view_.selectionModel();
    const FileListProxy& proxy = workspace_.Proxy();
    for (const QModelIndex& row : selection.selectedRows()) {
        Mp3File* record = workspace_.Model().Record(proxy.mapToSource(row).row());
        if (std::find(batch.begin(), batch.end(), record) == batch.end())
            selection.select(row, QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    }
    workspace_.RecordsEdited();
}

void BatchCommands::RunGenerate() {
    const std::vector<Mp3File*> batch = view_.SelectedRecords();
    if (!workspace_.IsIdle() || batch.empty())
        return;
    GenerateDialog dialog(batch,
                          {environment_.Settings(), environment_.Context(), workspace_.Journal(),
                           environment_.Messages()},
                          window_);
    if (dialog.exec() != QDialog::Accepted)
        return;
    workspace_.RecordsEdited();
    emit tagsGenerated();
}

}  // namespace velmora::ui
