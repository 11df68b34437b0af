#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <unordered_set>
#include <vector>

#include "common/Disposal.h"
#include "edit/CommonValueIndex.h"
#include "edit/EditJournal.h"
#include "scan/LoaderThread.h"
#include "scan/SaveThread.h"
#include "tags/record/TagOptions.h"
#include "ui/app/SlicedRun.h"
#include "ui/bridges/WorkerPoller.h"
#include "ui/list/FileListModel.h"
#include "ui/list/FileListProxy.h"

namespace velmora {
struct EngineContext;
class SettingsKey;
}  // namespace velmora

namespace velmora::ui {

class UiMessageSink;

enum class WorkState { Idle, Loading, Saving, Editing };

// The loaded files and the two background workers that fill and save them: the record
// list, the rows over it, and what the window is doing (idle, loading, saving, or editing
// many records in slices).
class Workspace : public QObject {
    Q_OBJECT

  public:
    // `settings` say whether saves are recorded in the history, and its limits.
    Workspace(EngineContext& context, UiMessageSink& sink, const SettingsKey& settings,
              QObject* parent = nullptr);
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
    // Idle only: saves every record that needs it, as one batch of the history named after
    // the actions saved; `then` runs when the save is done.
    void Save(std::function<void()> then = {});
    // Idle only: the files a revert changed, each from the path the list knows it by to the
    // one it has now, are loaded again; their pending edits and undo steps go.
    void ReloadFiles(const std::vector<std::pair<std::u16string, std::u16string>>& moved);

    // Idle or loading: ends the load after the file being loaded; the rows loaded stay.
    // Editing: ends the edit, undo or redo and takes back what it did so far.
    void StopLoad();
    // What Save was to do when done is not done (the window closes instead).
    void DropAfterSave() { afterSave_ = {}; }

    // Text typed in the editor and not applied yet goes into the records now: before a save,
    // before the records go, and before the user is asked whether to save.
    void ApplyPendingEdits() { emit pendingEditsWanted(); }

    // Every change to records goes through the journal, so that it can be undone.
    edit::EditJournal& Journal() { return journal_; }
    // Idle only: runs `change` over `records` as one undoable action named `name`, then
    // repaints the rows of the records it changed, which it returns. Rows stay where they
    // are: the list is sorted again by a header click or a load, not by an edit.
    std::vector<Mp3File*> Apply(std::u16string name, std::span<Mp3File* const> records,
                                const std::function<void()>& change);
    // The same with a change that can be made to any part of `records` on its own: a long
    // one runs in slices, the window answering, its progress shown, Stop taking it back.
    std::vector<Mp3File*> ApplyToParts(std::u16string name, std::span<Mp3File* const> records,
                                       const edit::EditJournal::PartChange& change);
    std::vector<Mp3File*> ApplyToEach(std::u16string name, std::span<Mp3File* const> records,
                                      const std::function<void(Mp3File&)>& change);
    // Idle only: runs `step` (reads records, changes none; false once done) in slices as an
    // edit runs, its progress shown as `name` with `done` of `total` files, Stop ending it
    // and nothing else editing meanwhile; false when stopped. Used to plan a long edit.
    bool ReadInParts(std::u16string name, std::size_t total,
                     const std::function<bool(std::size_t& done)>& step);
    // Idle only: takes back the newest action (or brings back the one undone last), in
    // slices when long, and repaints the rows it changed; false when there was nothing to do
    // or it was stopped.
    bool Undo() { return Move(true); }
    bool Redo() { return Move(false); }
    // These records were changed in place through the journal by someone else (a batch
    // dialog): repaint their rows and recount.
    void RecordsEdited(std::span<Mp3File* const> changed);
    std::size_t FileCount() const { return std::size_t(model_.rowCount()); }
    // Frees `garbage` off the interface thread; it must hold no record.
    void Dispose(std::shared_ptr<void> garbage) { disposal_.Drop(std::move(garbage)); }
    // Idle only: the common values of edit::V2ShownText over every loaded record, kept as
    // records come and change, so a library selected whole shows them at once.
    std::optional<std::vector<edit::CommonText>> ShownTextsOfEvery() const;
    std::size_t UpdatedCount() const { return updated_.size(); }
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
    // Rows show records loaded anew (ReloadFiles): whatever holds records asks again.
    void recordsReplaced();
    // Every row is gone (a load starts): whatever showed records shows nothing now.
    void listCleared();
    // Whoever holds typed, unapplied edits applies them now (see ApplyPendingEdits).
    void pendingEditsWanted();

  private:
    // What an edit in slices has done, for its progress.
    struct EditProgress {
        std::u16string name;
        std::size_t done = 0;
        std::size_t total = 0;
    };

    bool Move(bool undo);
    // Puts back what a stopped action or move did, in slices that Stop does not end.
    void TakeBack(const std::function<bool(std::vector<Mp3File*>&)>& some);
    // An edit in slices counts and marks the records of each part as it goes, and tells
    // the rows and the window at its end.
    void MarkEdited(std::span<Mp3File* const> changed);
    void AnnounceEdited();
    // Runs `step` through the slicer, the state Editing while the loop runs.
    bool RunSliced(const std::function<bool()>& step);
    // The slices are done and their records repainted: the window is idle again.
    void EndEditing();
    // Whether an action too large to keep may run anyway; asks once per action.
    bool MayRunUnkept();
    void StartLoad();
    void ShowProgress();
    void AddNewRows();
    void OnLoadDone();
    void FinishLoad();
    void OnSaveDone();
    void SetState(WorkState state);
    // Which of the changed records need saving (asking a record walks its frames, which
    // over 100,000 records takes milliseconds).
    void Recount(std::span<Mp3File* const> changed);
    // These records' texts may have changed.
    void Reindex(std::span<const Mp3File* const> changed);

    EngineContext& context_;
    UiMessageSink& sink_;
    const SettingsKey& settings_;
    LoaderThread loader_;
    SaveThread saver_;
    // Frees the journal's dropped actions off this thread; goes after the journal.
    Disposal disposal_;
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
    std::unordered_set<const Mp3File*> updated_;
    // By row, for ShownTextsOfEvery.
    edit::CommonValueIndex everyRecord_;
    // A save strips these records' ID3v2 tags, and with them their texts.
    std::vector<const Mp3File*> strippedBySave_;
    std::function<void()> afterSave_;
    SlicedRun slicer_;
    EditProgress edit_;
    // The user has agreed that the action running may not be undone.
    bool unkeptAgreed_ = false;
};

}  // namespace velmora::ui
