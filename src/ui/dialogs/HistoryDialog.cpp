#include "ui/dialogs/HistoryDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include "tags/record/EngineContext.h"
#include "ui/app/Workspace.h"
#include "ui/bridges/QtText.h"

namespace velmora::ui {
namespace {

constexpr int kPollMilliseconds = 100;
constexpr QSize kInitialSize{1000, 600};
constexpr int kColumnWidth = 130;
// The batches' columns that fit their contents; "What" takes the rest.
constexpr int kTimeColumn = 0;
constexpr int kWhatColumn = 1;

QTableView* NewTable(QAbstractItemModel& model, const QString& name) {
    auto* view = new QTableView;
    view->setObjectName(name);
    view->setModel(&model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->hide();
    view->setWordWrap(false);
    view->horizontalHeader()->setDefaultSectionSize(kColumnWidth);
    view->horizontalHeader()->setStretchLastSection(true);
    return view;
}

std::unique_ptr<history::HistoryStore> OpenStore(std::u16string& notice, std::string& error) {
    return history::HistoryStore::Open(history::HistoryStore::DefaultFile(), notice, error);
}

}  // namespace

HistoryDialog::HistoryDialog(Workspace& workspace, const EngineContext& context, QWidget* parent)
    : QDialog(parent), workspace_(workspace), context_(context) {
    setWindowTitle(tr("History"));
    batchView_ = NewTable(batches_, QStringLiteral("batches"));
    batchView_->setSelectionMode(QAbstractItemView::SingleSelection);
    batchView_->horizontalHeader()->setStretchLastSection(false);
    batchView_->horizontalHeader()->setSectionResizeMode(kTimeColumn,
                                                         QHeaderView::ResizeToContents);
    batchView_->horizontalHeader()->setSectionResizeMode(kWhatColumn, QHeaderView::Stretch);
    fileView_ = NewTable(files_, QStringLiteral("files"));
    status_ = new QLabel;
    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(batchView_);
    splitter->addWidget(fileView_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter, 1);
    layout->addWidget(status_);
    layout->addWidget(BuildButtons());
    connect(batchView_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &HistoryDialog::ShowBatch);
    connect(fileView_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &HistoryDialog::EnableButtons);
    poll_.setInterval(kPollMilliseconds);
    connect(&poll_, &QTimer::timeout, this, &HistoryDialog::Poll);
    resize(kInitialSize);
    LoadBatches();
}

HistoryDialog::~HistoryDialog() {
    stopRequested_ = true;
    worker_.Join();
}

void HistoryDialog::reject() {
    if (worker_.IsRunning()) {
        stopRequested_ = true;
        return;
    }
    QDialog::reject();
}

QWidget* HistoryDialog::BuildButtons() {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    progress_ = new QProgressBar;
    progress_->hide();
    stop_ = new QPushButton(tr("Stop"));
    stop_->hide();
    connect(stop_, &QPushButton::clicked, this, [this] { stopRequested_ = true; });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    revertBatch_ = buttons->addButton(tr("Revert &batch"), QDialogButtonBox::ActionRole);
    revertFiles_ = buttons->addButton(tr("Revert &selected files"), QDialogButtonBox::ActionRole);
    connect(revertBatch_, &QPushButton::clicked, this, [this] { RevertChosen(false); });
    connect(revertFiles_, &QPushButton::clicked, this, [this] { RevertChosen(true); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(progress_, 1);
    layout->addWidget(stop_);
    layout->addWidget(buttons);
    return row;
}

void HistoryDialog::LoadBatches() {
    std::u16string notice;
    std::string error;
    if (!store_)
        store_ = OpenStore(notice, error);
    if (!store_) {
        status_->setText(
            tr("The history of saves cannot be opened: %1").arg(QString::fromStdString(error)));
        EnableButtons();
        return;
    }
    if (!notice.empty())
        status_->setText(ToQString(notice));
    const std::int64_t wanted = shown_;
    batches_.Reset(store_->Batches(), [this](std::int64_t batch) {
        return FilesStillAsSaved(store_->Entries(batch));
    });
    int row = 0;
    for (int i = 0; i < batches_.rowCount(); ++i) {
        if (batches_.Batch(i).id == wanted)
            row = i;
    }
    if (batches_.rowCount() > 0)
        batchView_->selectRow(row);
    ShowBatch();
}

void HistoryDialog::ShowBatch() {
    const int row = batchView_->currentIndex().row();
    shown_ = row >= 0 && store_ ? batches_.Batch(row).id : 0;
    entries_ = shown_ != 0 ? store_->Entries(shown_) : std::vector<history::EntryRow>{};
    files_.Reset(entries_.size(), [this](std::size_t i) {
        const RecordedChange recorded = RecordedChangeOf(*store_, entries_[i], context_.codePage);
        return ChangeTableModel::Row{recorded.change,
                                     recorded.matches ? QString() : tr("changed since the batch")};
    });
    EnableButtons();
}

void HistoryDialog::EnableButtons() {
    const bool free = !worker_.IsRunning() && workspace_.IsIdle() && shown_ != 0;
    revertBatch_->setEnabled(free);
    revertFiles_->setEnabled(free && fileView_->selectionModel()->hasSelection());
}

void HistoryDialog::RevertChosen(bool selectedOnly) {
    history::RevertOptions options;
    if (selectedOnly) {
        for (const QModelIndex& index : fileView_->selectionModel()->selectedRows())
            options.files.push_back(entries_[std::size_t(index.row())].pathAfter);
    }
    StartRevert(shown_, std::move(options));
}

void HistoryDialog::StartRevert(std::int64_t batch, history::RevertOptions options) {
    const std::size_t total = options.files.empty() ? entries_.size() : options.files.size();
    done_ = 0;
    stopRequested_ = false;
    options.done = &done_;
    options.stop = &stopRequested_;
    progress_->setRange(0, int(entries_.size()));
    progress_->setValue(0);
    progress_->setFormat(tr("Reverting %1 files: %p%").arg(total));
    progress_->show();
    stop_->show();
    worker_.Start([this, batch, options = std::move(options)](const std::stop_token&) {
        std::u16string notice;
        std::string error;
        const auto store = OpenStore(notice, error);
        result_ = store ? history::RevertBatch(*store, batch, options) : history::RevertResult{};
    });
    poll_.start();
    EnableButtons();
}

void HistoryDialog::Poll() {
    progress_->setValue(int(done_.load()));
    if (worker_.IsRunning())
        return;
    poll_.stop();
    worker_.Join();
    progress_->hide();
    stop_->hide();
    RevertDone();
}

void HistoryDialog::RevertDone() {
    std::vector<std::pair<std::u16string, std::u16string>> moved;
    std::vector<std::u16string> skipped;
    QString list;
    for (const history::RevertedFile& file : result_.files) {
        if (file.outcome == history::RevertedFile::Outcome::Reverted) {
            for (const history::EntryRow& entry : entries_) {
                if (entry.pathBefore == file.path || entry.pathAfter == file.path)
                    moved.emplace_back(entry.pathAfter, file.path);
            }
            continue;
        }
        list += ToQString(file.path) + QStringLiteral(": ") + ToQString(file.reason) + u'\n';
        if (file.outcome == history::RevertedFile::Outcome::Skipped)
            skipped.push_back(file.path);
    }
    workspace_.ReloadFiles(moved);
    LoadBatches();
    if (!list.isEmpty())
        AskToForce(skipped, list);
}

void HistoryDialog::AskToForce(const std::vector<std::u16string>& skipped, const QString& list) {
    QMessageBox box(this);
    box.setWindowTitle(tr("History"));
    box.setIcon(QMessageBox::Warning);
    box.setText(tr("%n file(s) were not reverted.", "", int(list.count(u'\n'))));
    box.setDetailedText(list);
    if (skipped.empty()) {
        box.exec();
        return;
    }
    box.setInformativeText(tr("Files changed since the batch were skipped. Write them anyway?"));
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::No);
    if (box.exec() != QMessageBox::Yes)
        return;
    history::RevertOptions options;
    options.files = skipped;
    options.force = true;
    StartRevert(shown_, std::move(options));
}

}  // namespace velmora::ui
