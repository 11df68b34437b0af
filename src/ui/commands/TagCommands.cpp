#include "ui/commands/TagCommands.h"

#include <QItemSelectionModel>
#include <algorithm>

#include "common/Messages.h"
#include "edit/ActionNames.h"
#include "edit/TagRemoval.h"
#include "tags/record/Mp3File.h"
#include "ui/app/Actions.h"
#include "ui/app/Workspace.h"
#include "ui/bridges/QtText.h"
#include "ui/bridges/UiMessageSink.h"
#include "ui/list/FileListView.h"

namespace velmora::ui {

TagCommands::TagCommands(Workspace& workspace, FileListView& view, UiMessageSink& sink,
                         EngineContext& context, QObject* parent)
    : QObject(parent),
      workspace_(workspace),
      view_(view),
      sink_(sink),
      context_(context),
      removeV1_(MakeAction(this, tr("Remove ID3v&1"), tr("Remove the ID3v1 tag"))),
      removeV2_(MakeAction(this, tr("Remove ID3v&2"), tr("Remove the ID3v2 tag"))),
      trackMode_(MakeAction(this, ToQString(numbering_.Caption()),
                            tr("Number tracks in the order the rows are selected"),
                            {QKeySequence(Qt::CTRL | Qt::Key_T)})) {
    trackMode_->setCheckable(true);
    connect(removeV1_, &QAction::triggered, this, [this] { Remove(edit::kRemoveId3v1); });
    connect(removeV2_, &QAction::triggered, this, [this] { Remove(edit::kRemoveId3v2); });
    connect(trackMode_, &QAction::toggled, this, &TagCommands::SwitchTrackMode);
    connect(view.selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected) {
                NumberNewlySelected(selected);
                UpdateActions();
            });
    connect(&workspace, &Workspace::stateChanged, this, &TagCommands::UpdateActions);
    UpdateActions();
}

void TagCommands::UpdateActions() {
    const bool editable = workspace_.IsIdle() && view_.selectionModel()->hasSelection();
    removeV1_->setEnabled(editable);
    removeV2_->setEnabled(editable);
    trackMode_->setEnabled(workspace_.IsIdle());
}

void TagCommands::Remove(const edit::TagRemoval& removal) {
    if (!workspace_.IsIdle() || sink_.Show(removal.Question()) != MessageAnswer::Yes)
        return;
    workspace_.ApplyToEach(removal.action, view_.SelectedRecords(),
                           [&](Mp3File& record) { removal.Apply(record); });
}

void TagCommands::SwitchTrackMode(bool on) {
    if (on)
        numbering_.SwitchOn();
    else
        numbering_.SwitchOff();
    trackMode_->setText(ToQString(numbering_.Caption()));
}

void TagCommands::NumberNewlySelected(const QItemSelection& selected) {
    if (!numbering_.IsOn() || !workspace_.IsIdle())
        return;
    QModelIndexList rows;
    for (const QModelIndex& index : selected.indexes()) {
        if (index.column() == 0)
            rows << index;
    }
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    // One action per number, so Undo takes the numbers back one at a time.
    for (const QModelIndex& row : rows) {
        Mp3File* record = workspace_.Model().Record(workspace_.Proxy().mapToSource(row).row());
        workspace_.Apply(edit::kTrackNumberAction, {&record, 1},
                         [&] { numbering_.NumberNext(record->V2(), context_); });
    }
    trackMode_->setText(ToQString(numbering_.Caption()));
}

}  // namespace velmora::ui
