#include "ui/panel/TagEditorPanel.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <chrono>
#include <utility>

#include "edit/ActionNames.h"
#include "tags/record/Mp3File.h"
#include "ui/app/Actions.h"
#include "ui/app/Workspace.h"
#include "ui/panel/CommentsPage.h"
#include "ui/panel/GeneralPage.h"
#include "ui/panel/Id3v1Page.h"
#include "ui/panel/PanelPage.h"
#include "ui/panel/PicturesPage.h"

namespace velmora::ui {
namespace {

// A selection up to this size is read at once (a few milliseconds); a larger one is read
// in parts of this size, from the event loop, for at most the budget each pass.
constexpr std::size_t kFillPart = 2000;
constexpr std::chrono::milliseconds kFillSliceBudget{10};

// What the selection's pending removals do at the next save; empty when there are none.
QString RemovalText(std::span<Mp3File* const> selection) {
    const auto any = [&](bool (Mp3File::*pending)() const) {
        return std::any_of(selection.begin(), selection.end(),
                           [&](const Mp3File* record) { return (record->*pending)(); });
    };
    const bool v1 = any(&Mp3File::RemoveV1Pending);
    const bool v2 = any(&Mp3File::RemoveV2Pending);
    if (!v1 && !v2)
        return {};
    const QString tags =
        v1 && v2 ? QStringLiteral("ID3v1, ID3v2") : QStringLiteral("ID3v%1").arg(v1 ? 1 : 2);
    return TagEditorPanel::tr("Saving removes\n%1").arg(tags);
}

}  // namespace

TagEditorPanel::TagEditorPanel(Workspace& workspace, EngineContext& engine, UiMessageSink& messages,
                               FileChooser& chooser, PanelLink::SelectionSource selection,
                               QAction* removeV1, QAction* removeV2, QWidget* parent)
    : QWidget(parent),
      workspace_(workspace),
      link_(workspace, engine, messages, chooser, std::move(selection)),
      tabs_(new QTabWidget) {
    // In the order of PageIndex.
    AddPage(new GeneralPage(link_), tr("&General ID3v2"));
    AddPage(new CommentsPage(link_), tr("&Comments"));
    AddPage(new PicturesPage(link_), tr("&Pictures"));
    AddPage(new Id3v1Page(link_), tr("&ID3v1"));
    tabs_->setCurrentIndex(kGeneralPage);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tabs_, 1);
    layout->addWidget(BuildButtons(removeV1, removeV2));

    connect(tabs_, &QTabWidget::currentChanged, this, &TagEditorPanel::ReloadShown);
    connect(&workspace, &Workspace::recordsEdited, this, [this] {
        if (!link_.InOwnEdit())
            Reload();
    });
    connect(&workspace, &Workspace::listCleared, this, [this] {
        // The records are gone; the load asked for the typed edits first.
        shownFor_.clear();
        Reload();
    });
    connect(&workspace, &Workspace::pendingEditsWanted, this, [this] {
        if (HasPendingEdits())
            SaveAll();
    });
    link_.SetBeforeCommand([this] {
        if (HasPendingEdits())
            SaveAll();
    });
    fill_.setInterval(0);
    connect(&fill_, &QTimer::timeout, this, &TagEditorPanel::FillSlice);
    connect(&workspace, &Workspace::stateChanged, this, [this] {
        setEnabled(workspace_.IsIdle());
        // A worker may rewrite the records being read.
        if (!workspace_.IsIdle() && Filling()) {
            StopFill();
            fillBroken_ = true;
        }
        // An edit in slices has announced its records already; a second reload of a
        // library-wide selection would cost as much again.
        if (workspace_.IsIdle() && (lastState_ != WorkState::Editing || fillBroken_))
            Reload();
        lastState_ = workspace_.State();
    });
    setEnabled(workspace.IsIdle());
}

void TagEditorPanel::AddPage(PanelPage* page, const QString& caption) {
    pages_.push_back(page);
    current_.push_back(false);
    captions_.push_back(caption);
    tabs_->addTab(page, caption);
    connect(page, &PanelPage::saveAllWanted, this, &TagEditorPanel::SaveAll);
}

QWidget* TagEditorPanel::BuildButtons(QAction* removeV1, QAction* removeV2) {
    auto* buttons = new QWidget;
    auto* layout = new QVBoxLayout(buttons);
    layout->setContentsMargins(0, 0, 0, 0);
    saveAll_ = new QPushButton(tr("Save &All"));
    saveAll_->setToolTip(tr("Apply the changed fields to every selected file"));
    connect(saveAll_, &QPushButton::clicked, this, &TagEditorPanel::SaveAll);
    layout->addWidget(saveAll_);
    // The records' change notice then applies what was typed (kept in the new tag) and shows the
    // tag as the save will leave it.
    layout->addWidget(MirrorButton(removeV1, tr("Remove ID3v&1")));
    layout->addWidget(MirrorButton(removeV2, tr("Remove ID3v&2")));
    removalNote_ = new QLabel;
    removalNote_->setObjectName(QStringLiteral("removalNote"));
    layout->addWidget(removalNote_);
    layout->addStretch();
    return buttons;
}

void TagEditorPanel::Reload() {
    WritePending();
    ReloadAll();
}

void TagEditorPanel::ReloadAll() {
    std::fill(current_.begin(), current_.end(), false);
    ReloadShown();
}

bool TagEditorPanel::HasPendingEdits() const {
    for (std::size_t page = 0; page < pages_.size(); ++page) {
        if (current_[page] && pages_[page]->HasEdits())
            return true;
    }
    return false;
}

bool TagEditorPanel::WritePending() {
    if (shownFor_.empty() || !link_.Editable() || !HasPendingEdits())
        return false;
    link_.ApplyTo(edit::kEditTagsAction, shownFor_, [this](std::span<Mp3File* const> records) {
        for (std::size_t page = 0; page < pages_.size(); ++page) {
            if (current_[page])
                pages_[page]->WriteEdits(records);
        }
    });
    return true;
}

void TagEditorPanel::MarkPendingTabs() {
    // Only a hidden page can hold typed text out of sight: its tab says so.
    for (std::size_t page = 0; page < pages_.size(); ++page) {
        const bool pending =
            int(page) != tabs_->currentIndex() && current_[page] && pages_[page]->HasEdits();
        tabs_->setTabText(int(page),
                          pending ? captions_[page] + QStringLiteral(" *") : captions_[page]);
    }
}

void TagEditorPanel::ReloadShown() {
    MarkPendingTabs();
    // A save's worker rewrites the records: they are read again once it is done.
    if (workspace_.State() == WorkState::Saving)
        return;
    const auto shown = std::size_t(tabs_->currentIndex());
    // A tab chosen again on the same selection keeps what the user typed there.
    if (shown >= pages_.size() || current_[shown])
        return;
    const std::vector<Mp3File*> selection = link_.Selection();
    // With no file selected there is nothing to edit, and the fields say so.
    for (PanelPage* page : pages_)
        page->setEnabled(!selection.empty());
    saveAll_->setEnabled(!selection.empty());
    removalNote_->setText(RemovalText(selection));
    FillShown(shown, std::move(selection));
}

void TagEditorPanel::FillShown(std::size_t shown, std::vector<Mp3File*> selection) {
    StopFill();
    fillBroken_ = false;
    // Every record selected: the window knows what they share without a pass.
    const bool known = link_.IsEvery(selection.size()) && pages_[shown]->ReloadAsEvery();
    if (known || selection.size() <= kFillPart) {
        if (!known)
            pages_[shown]->Reload(selection);
        current_[shown] = true;
        shownFor_ = std::move(selection);
        return;
    }
    // Nothing can be typed into fields that do not show the selection yet.
    pages_[shown]->setEnabled(false);
    saveAll_->setEnabled(false);
    shownFor_.clear();
    fillPage_ = shown;
    filling_ = std::move(selection);
    filled_ = 0;
    pages_[shown]->StartFill();
    fill_.start();
}

void TagEditorPanel::FillSlice() {
    PanelPage& page = *pages_[fillPage_];
    const auto deadline = std::chrono::steady_clock::now() + kFillSliceBudget;
    const std::span<Mp3File* const> all(filling_);
    while (filled_ < all.size() && std::chrono::steady_clock::now() < deadline) {
        const std::size_t count = std::min(kFillPart, all.size() - filled_);
        const bool more = page.FillPart(all.subspan(filled_, count));
        filled_ = more ? filled_ + count : all.size();
    }
    if (filled_ < all.size())
        return;
    fill_.stop();
    page.EndFill();
    page.setEnabled(true);
    saveAll_->setEnabled(true);
    current_[fillPage_] = true;
    shownFor_ = std::exchange(filling_, {});
}

void TagEditorPanel::StopFill() {
    if (!Filling())
        return;
    fill_.stop();
    filling_.clear();
    filling_.shrink_to_fit();
    pages_[fillPage_]->setEnabled(true);
}

void TagEditorPanel::SaveAll() {
    // The pages then show what the files now hold, with nothing pending.
    if (WritePending())
        ReloadAll();
}

}  // namespace velmora::ui
