#pragma once

#include <QObject>

#include "batch/TrackNumbering.h"

class QAction;
class QItemSelection;

namespace velmora {
struct EngineContext;
namespace edit {
struct TagRemoval;
}
}  // namespace velmora

namespace velmora::ui {

class FileListView;
class UiMessageSink;
class Workspace;

// Commands that change the selected records' tags from the list: the two removals and the
// "Track #" mode, which numbers rows in the order they are selected.
class TagCommands : public QObject {
    Q_OBJECT

  public:
    TagCommands(Workspace& workspace, FileListView& view, UiMessageSink& sink,
                EngineContext& context, QObject* parent = nullptr);

    QAction* RemoveV1() const { return removeV1_; }
    QAction* RemoveV2() const { return removeV2_; }
    QAction* TrackMode() const { return trackMode_; }

    void UpdateActions();

  private:
    void Remove(const edit::TagRemoval& removal);
    void SwitchTrackMode(bool on);
    void NumberNewlySelected(const QItemSelection& selected);

    Workspace& workspace_;
    FileListView& view_;
    UiMessageSink& sink_;
    EngineContext& context_;
    batch::TrackNumbering numbering_;
    QAction* removeV1_;
    QAction* removeV2_;
    QAction* trackMode_;
};

}  // namespace velmora::ui
