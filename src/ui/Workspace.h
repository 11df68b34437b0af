#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "edit/EditJournal.h"
#include "scan/LoaderThread.h"
#include "scan/SaveThread.h"
#include "tags/TagOptions.h"
#include "ui/FileListModel.h"
#include "ui/FileListProxy.h"
#include "ui/WorkerPoller.h"

namespace velmora {
struct EngineContext;
}

namespace velmora::ui {

class UiMessageSink;

enum class WorkState { Idle, Loading, Saving };

// The loaded files and the two background workers that fill and save them: the record
// list, the rows over it, and what the window is doing (idle, loading or saving).
class Workspace : public QObject {
    Q_OBJECT

  public:
    Workspace(EngineContext& context, UiMessageSink& sink, QObject* parent = nullptr);
    ~Workspace() override;

    WorkState State() const { return state_; }
    bool IsIdle() const { return state_ == WorkState::Idle; }
    FileListModel& Model() { return model_; }
    FileListProxy& Proxy() { return proxy_; }
    // True once a directory has been chosen, so Reload has something to reload.
    bool HasDirectory() const { return hasDirectory_; }
    const std::u16string& Directory() const { return loader_.Directory(); }

    // Idle only: destroys every record and loads `directory` (Browse) or the same
    // directory again (Reload), descending into subdirectories with `recurse`.
    void Load(std::u16string directory, bool recurse);
    void Reload(bool recurse);
    // The engine's options after the user changed them; the workers read them, so they take
    // effect at once when idle, else when the running work is done.
    void UpdateOptions(const TagOptions& options);
    // Idle only: saves every record that needs it; `then` runs when the save is done.
    void Save(std::function<void()> then = {});

    // Idle or loading: ends the load after the file being loaded; the rows loaded stay.
    void StopLoad();
    // What Save was to do when done is not done (the window closes instead).
    void DropAfterSave() { afterSave_ = {}; }

    // Text typed in the editor and not applied yet goes into the records now: before a save,
    // before the records go, and before the user is asked whether to save.
    void ApplyPendingEdits() { emit pendingEditsWanted(); }

    // Every change to records goes through the journal, so that it can be undone.
    edit::EditJournal& Journal() { return journal_; }
    // Records were changed in place: repaint the rows and recount.
    void RecordsEdited();
    std::size_t FileCount() const { return std::size_t(model_.rowCount()); }
    std::size_t UpdatedCount() const { return updated_; }
    // "Loaded %u files (%u updated)".
    QString StatusText() const;
    // How far the running worker has come; empty while idle.
    QString ProgressText() const;

  signals:
    void stateChanged();
    void statusChanged(const QString& text);
    void progressChanged(const QString& text);
    // Records were edited, undone or redone.
    void recordsEdited();
    // Every row is gone (a load starts): whatever showed records shows nothing now.
    void listCleared();
    // Whoever holds typed, unapplied edits applies them now (see ApplyPendingEdits).
    void pendingEditsWanted();

  private:
    void StartLoad();
    void ShowProgress();
    void AddNewRows();
    void OnLoadDone();
    void FinishLoad();
    void OnSaveDone();
    void SetState(WorkState state);
    void Recount();

    EngineContext& context_;
    UiMessageSink& sink_;
    LoaderThread loader_;
    SaveThread saver_;
    edit::EditJournal journal_;
    FileListModel model_;
    FileListProxy proxy_;
    WorkerPoller loadPoller_;
    WorkerPoller savePoller_;
    // Continues adding rows from the event loop, so that no single pass over a batch holds
    // the interface thread long (a sorted list places every new row).
    QTimer rowSlice_;
    bool loadFinished_ = false;
    WorkState state_ = WorkState::Idle;
    std::optional<TagOptions> pendingOptions_;
    bool hasDirectory_ = false;
    std::size_t updated_ = 0;
    std::function<void()> afterSave_;
};

}  // namespace velmora::ui
