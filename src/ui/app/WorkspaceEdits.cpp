// The workspace's edits: every change to records as one action of the journal, a long one
// run in slices.
#include <algorithm>
#include <exception>
#include <utility>

#include "common/Messages.h"
#include "tags/record/Mp3File.h"
#include "ui/app/Workspace.h"
#include "ui/bridges/QtText.h"
#include "ui/bridges/UiMessageSink.h"

namespace velmora::ui {

namespace {

// Records an edit takes in one step: few first, so that a slow change soon yields to the
// event loop, then more, so that the step's own cost stays small.
constexpr std::size_t kLargestStep = 64;
// After this many records the journal can tell whether the action will fit.
constexpr std::size_t kEstimateAfter = 500;

}  // namespace

std::vector<Mp3File*> Workspace::Apply(std::u16string name, std::span<Mp3File* const> records,
                                       const std::function<void()>& change) {
    if (!IsIdle())
        return {};
    unkeptAgreed_ = false;
    std::vector<Mp3File*> changed = journal_.Apply(std::move(name), records, change);
    if (!changed.empty())
        RecordsEdited(changed);
    return changed;
}

std::vector<Mp3File*> Workspace::ApplyToParts(std::u16string name,
                                              std::span<Mp3File* const> records,
                                              const edit::EditJournal::PartChange& change) {
    if (!IsIdle())
        return {};
    unkeptAgreed_ = false;
    edit_ = {name, 0, records.size()};
    journal_.Begin(std::move(name));
    std::size_t size = 1;
    bool declined = false;
    std::exception_ptr failure;
    const bool done = RunSliced([&] {
        const auto part = records.subspan(edit_.done, std::min(size, records.size() - edit_.done));
        try {
            journal_.Step(part, change);
        } catch (...) {
            failure = std::current_exception();
            return false;
        }
        edit_.done += part.size();
        size = std::min(size * 2, kLargestStep);
        const bool estimated =
            edit_.done >= kEstimateAfter && edit_.done - part.size() < kEstimateAfter;
        if (estimated && journal_.WillOutgrow(edit_.done, edit_.total) && !MayRunUnkept()) {
            declined = true;
            return false;
        }
        return edit_.done < records.size();
    });
    if ((!done || declined) && !failure) {
        journal_.Abandon();
        EndEditing();
        return {};
    }
    std::vector<Mp3File*> changed = journal_.Commit();
    if (!changed.empty())
        RecordsEdited(changed);
    EndEditing();
    if (failure)
        std::rethrow_exception(failure);
    return changed;
}

std::vector<Mp3File*> Workspace::ApplyToEach(std::u16string name, std::span<Mp3File* const> records,
                                             const std::function<void(Mp3File&)>& change) {
    return ApplyToParts(std::move(name), records, [&](std::span<Mp3File* const> part) {
        for (Mp3File* record : part)
            change(*record);
    });
}

bool Workspace::Move(bool undo) {
    if (!IsIdle())
        return false;
    const QString name = ToQString(undo ? journal_.UndoName() : journal_.RedoName());
    if (!journal_.BeginMove(undo))
        return false;
    edit_ = {ToU16((undo ? tr("Undo %1") : tr("Redo %1")).arg(name)), 0, journal_.MoveSize()};
    const bool done = RunSliced([&] {
        const bool more = journal_.MoveSome(kLargestStep);
        edit_.done = std::min(edit_.done + kLargestStep, edit_.total);
        return more;
    });
    if (!done) {
        journal_.AbandonMove();
        EndEditing();
        return false;
    }
    const std::vector<Mp3File*> changed = journal_.EndMove();
    if (!changed.empty())
        RecordsEdited(changed);
    EndEditing();
    return !changed.empty();
}

bool Workspace::RunSliced(const std::function<bool()>& step) {
    return slicer_.Run(
        step, [this] { SetState(WorkState::Editing); }, [this] { ShowProgress(); });
}

void Workspace::EndEditing() {
    if (state_ != WorkState::Editing)
        return;
    SetState(WorkState::Idle);
    ShowProgress();
}

bool Workspace::MayRunUnkept() {
    if (!unkeptAgreed_) {
        const QString question =
            tr("This change cannot be undone before saving; it can be reverted from History "
               "after saving. Continue?");
        Message message = NoteMessage({ToU16(question)}, kAppCaption, MessageIcon::Question,
                                      MessageButtons::YesNo);
        unkeptAgreed_ = sink_.Show(message) == MessageAnswer::Yes;
    }
    return unkeptAgreed_;
}

}  // namespace velmora::ui
