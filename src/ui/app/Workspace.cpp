#include "ui/app/Workspace.h"

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <span>
#include <utility>
#include <vector>

#include "edit/TagEdits.h"
#include "tags/record/EngineContext.h"
#include "tags/record/Mp3File.h"
#include "ui/bridges/QtText.h"
#include "ui/bridges/UiMessageSink.h"

namespace velmora::ui {

namespace {

// Rows are added in slices of this many until the budget of one pass is spent; the rest
// waits for the next pass of the event loop, so timers and input run in between.
constexpr std::size_t kRowSlice = 500;
constexpr std::chrono::milliseconds kRowPassBudget{20};

// "Edit Tags, Rename": the actions a save writes, in the order they were made.
std::u16string SaveDescription(const std::vector<std::u16string>& actions) {
    std::u16string what;
    for (const std::u16string& name : actions)
        what += (what.empty() ? u"" : u", ") + name;
    return what.empty() ? u"Save" : what;
}

}  // namespace

Workspace::Workspace(EngineContext& context, UiMessageSink& sink, const SettingsKey& settings,
                     QObject* parent)
    : QObject(parent),
      context_(context),
      sink_(sink),
      settings_(settings),
      loader_(context),
      saver_(context, loader_.Records()),
      model_(context.codePage),
      proxy_(model_),
      loadPoller_([this] { return loader_.IsRunning(); }, kLoadDonePoll),
      savePoller_([this] { return saver_.IsRunning(); }, kSaveDonePoll),
      everyRecord_(edit::kV2ShownCount,
                   [&codePage = context.codePage](const Mp3File& record, std::size_t index) {
                       return edit::V2ShownText(record, index, codePage);
                   }) {
    connect(&loadPoller_, &WorkerPoller::batch, this, &Workspace::AddNewRows);
    connect(&loadPoller_, &WorkerPoller::done, this, &Workspace::OnLoadDone);
    connect(&savePoller_, &WorkerPoller::batch, this, &Workspace::ShowProgress);
    connect(&savePoller_, &WorkerPoller::done, this, &Workspace::OnSaveDone);
    rowSlice_.setSingleShot(true);
    rowSlice_.setInterval(0);
    connect(&rowSlice_, &QTimer::timeout, this, &Workspace::AddNewRows);
    journal_.SetDisposer(
        [this](std::shared_ptr<void> dropped) { disposal_.Drop(std::move(dropped)); });
    // The journal asks when an action ends; the question is then done with.
    journal_.SetKeepQuestion([this] {
        const bool agreed = MayRunUnkept();
        unkeptAgreed_ = false;
        return agreed;
    });
}

Workspace::~Workspace() {
    // A worker waiting for an answer would never get one once the window is gone; a load
    // ends after the file at hand, not after the whole walk.
    sink_.AnswerWorkersSafely();
    loader_.Stop();
    loader_.Join();
    saver_.Join();
}

void Workspace::SetState(WorkState state) {
    state_ = state;
    if (IsIdle() && pendingOptions_) {
        context_.options = *pendingOptions_;
        pendingOptions_.reset();
    }
    emit stateChanged();
}

void Workspace::UpdateOptions(const TagOptions& options) {
    if (IsIdle()) {
        context_.options = options;
    } else {
        pendingOptions_ = options;
    }
}

void Workspace::Load(std::u16string directory, bool recurse) {
    if (!IsIdle())
        return;
    ApplyPendingEdits();
    loader_.Retire(journal_.TakeAll());
    model_.Clear();
    everyRecord_.Clear();
    loader_.SetDirectory(std::move(directory));
    loader_.SetRecurse(recurse);
    hasDirectory_ = true;
    StartLoad();
}

void Workspace::Reload(bool recurse) {
    if (!IsIdle() || !hasDirectory_)
        return;
    ApplyPendingEdits();
    loader_.Retire(journal_.TakeAll());
    model_.Clear();
    everyRecord_.Clear();
    loader_.SetRecurse(recurse);
    loader_.ResetList();
    StartLoad();
}

void Workspace::StartLoad() {
    updated_.clear();
    // Rows that arrive while the load runs take their place in the sorted list; the list
    // is empty here, so switching this on sorts nothing.
    proxy_.setDynamicSortFilter(true);
    emit listCleared();
    sink_.BeginRun(UiMessageSink::LoadCheckText());
    SetState(WorkState::Loading);
    loader_.Start();
    loadPoller_.Start();
    emit statusChanged(StatusText());
    ShowProgress();
    emit recordsEdited();
}

void Workspace::StopLoad() {
    if (state_ == WorkState::Loading)
        loader_.Stop();
    if (state_ == WorkState::Editing)
        slicer_.Stop();
}

void Workspace::AddNewRows() {
    const auto deadline = std::chrono::steady_clock::now() + kRowPassBudget;
    const std::vector<Mp3File*> fresh = loader_.Records().From(model_.Records().size());
    const std::span<Mp3File* const> all(fresh);
    std::size_t added = 0;
    while (added < all.size() && std::chrono::steady_clock::now() < deadline) {
        const std::size_t count = std::min(kRowSlice, all.size() - added);
        model_.Append(all.subspan(added, count));
        everyRecord_.Append(all.subspan(added, count));
        added += count;
    }
    // Freshly loaded records need no saving, so the count of updated ones stays.
    emit statusChanged(StatusText());
    ShowProgress();
    if (added < all.size())
        rowSlice_.start();
    else if (loadFinished_)
        FinishLoad();
}

void Workspace::OnLoadDone() {
    // The load stays on until its last row is in, so that commands wait for the whole list.
    loadFinished_ = true;
    AddNewRows();
}

void Workspace::FinishLoad() {
    loadFinished_ = false;
    // From here on an edit repaints its rows where they are.
    proxy_.setDynamicSortFilter(false);
    SetState(WorkState::Idle);
    ShowProgress();
    sink_.EndRun();
}

void Workspace::Save(std::function<void()> then) {
    if (!IsIdle())
        return;
    ApplyPendingEdits();
    afterSave_ = std::move(then);
    const std::u16string what =
        SaveDescription(journal_.ActionNames([](const Mp3File& r) { return r.NeedsSave(); }));
    strippedBySave_.clear();
    for (const Mp3File* record : updated_) {
        if (record->RemoveV2Pending())
            strippedBySave_.push_back(record);
    }
    // Saving a record ends what Undo could take back in it.
    journal_.Forget(updated_);
    sink_.BeginRun(UiMessageSink::SaveCheckText());
    model_.HoldChangedRecords();
    SetState(WorkState::Saving);
    saver_.Start(SaveHistoryOf(settings_), what);
    savePoller_.Start();
    ShowProgress();
    emit recordsEdited();
}

void Workspace::OnSaveDone() {
    model_.ReleaseChangedRecords();
    Reindex(std::exchange(strippedBySave_, {}));
    // Only what needed saving was saved, the records being held meanwhile: what failed to
    // save still needs it, and no other record changed.
    std::erase_if(updated_, [](const Mp3File* record) { return !record->NeedsSave(); });
    emit statusChanged(StatusText());
    SetState(WorkState::Idle);
    ShowProgress();
    sink_.EndRun();
    if (auto then = std::exchange(afterSave_, {}))
        then();
}

void Workspace::ReloadFiles(const std::vector<std::pair<std::u16string, std::u16string>>& moved) {
    if (!IsIdle())
        return;
    const std::map<std::u16string, std::u16string> now(moved.begin(), moved.end());
    // The old records go only once whatever showed them has been told to ask again.
    std::vector<std::unique_ptr<Mp3File>> retired;
    for (Mp3File* record : loader_.Records().All()) {
        const auto found = now.find(record->DiskPath());
        if (found == now.end())
            continue;
        const std::u16string& path = found->second;
        const std::size_t slash = path.rfind(u'/');
        journal_.Forget(*record);
        updated_.erase(record);
        auto fresh =
            std::make_unique<Mp3File>(context_, path.substr(0, slash), path.substr(slash + 1));
        Mp3File* shown = fresh.get();
        retired.push_back(loader_.Records().Replace(record, std::move(fresh)));
        model_.ReplaceRecord(record, shown);
        const Mp3File* const replaced = shown;
        Reindex({&replaced, 1});
    }
    if (retired.empty())
        return;
    emit statusChanged(StatusText());
    emit recordsReplaced();
}

void Workspace::RecordsEdited(std::span<Mp3File* const> changed) {
    MarkEdited(changed);
    AnnounceEdited();
}

void Workspace::MarkEdited(std::span<Mp3File* const> changed) {
    Recount(changed);
    // The rows found for the repaint serve the common values too.
    model_.MarkChanged(
        changed, [this](std::size_t row) { everyRecord_.Update(row, *model_.Record(int(row))); });
}

void Workspace::Reindex(std::span<const Mp3File* const> changed) {
    model_.FindRows(
        changed, [this](std::size_t row) { everyRecord_.Update(row, *model_.Record(int(row))); });
}

std::optional<std::vector<edit::CommonText>> Workspace::ShownTextsOfEvery() const {
    if (!IsIdle() || FileCount() == 0 || everyRecord_.Size() != FileCount())
        return std::nullopt;
    return everyRecord_.Common(*model_.Record(0));
}

void Workspace::AnnounceEdited() {
    model_.RepaintChanged();
    emit statusChanged(StatusText());
    emit recordsEdited();
}

void Workspace::Recount(std::span<Mp3File* const> changed) {
    for (const Mp3File* record : changed) {
        if (record->NeedsSave())
            updated_.insert(record);
        else
            updated_.erase(record);
    }
}

QString Workspace::StatusText() const {
    return tr("Loaded %1 files (%2 updated)").arg(FileCount()).arg(UpdatedCount());
}

QString Workspace::ProgressText() const {
    switch (state_) {
        case WorkState::Loading:
            return tr("Loading: %1 files").arg(loader_.Progress().done);
        case WorkState::Saving: {
            const WorkProgress progress = saver_.Progress();
            return tr("Saving %1 of %2").arg(progress.done).arg(progress.total);
        }
        case WorkState::Editing:
            return tr("%1: %2 of %3 files")
                .arg(ToQString(edit_.name))
                .arg(edit_.done)
                .arg(edit_.total);
        case WorkState::Idle:
            break;
    }
    return {};
}

void Workspace::ShowProgress() {
    emit progressChanged(ProgressText());
}

}  // namespace velmora::ui
