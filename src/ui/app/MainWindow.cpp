#include "ui/app/MainWindow.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include "common/Messages.h"
#include "scan/TagSettings.h"
#include "ui/app/Actions.h"
#include "ui/app/UiEnvironment.h"
#include "ui/app/WindowMemory.h"
#include "ui/app/Workspace.h"
#include "ui/bridges/QtText.h"
#include "ui/commands/BatchCommands.h"
#include "ui/commands/CellCommands.h"
#include "ui/commands/EditCommands.h"
#include "ui/commands/ExportCommands.h"
#include "ui/commands/LoadCommands.h"
#include "ui/commands/SaveCommands.h"
#include "ui/commands/ShellCommands.h"
#include "ui/commands/TagCommands.h"
#include "ui/dialogs/HistoryDialog.h"
#include "ui/dialogs/PreferencesDialog.h"
#include "ui/dialogs/ReviewDialog.h"
#include "ui/list/FileListView.h"
#include "ui/list/ListDisplay.h"
#include "ui/list/ShownCount.h"
#include "ui/panel/TagEditorPanel.h"

namespace velmora::ui {
namespace {

// The editor panel's place below the list: it keeps this height when the window is resized.
constexpr int kPanelHeight = 230;
constexpr QSize kInitialSize{1000, 700};

}  // namespace

MainWindow::MainWindow(UiEnvironment& environment, QWidget* parent)
    : QMainWindow(parent),
      environment_(environment),
      workspace_(new Workspace(environment.Context(), environment.Messages(),
                               environment.Settings(), this)) {
    setWindowTitle(ToQString(kAppCaption));
    setWindowIcon(AppIcon());
    environment.Messages().SetWindow(this);
    view_ = new FileListView(workspace_->Model(), workspace_->Proxy());
    saving_ = new SaveCommands(*workspace_, environment.Messages(), this);
    loading_ = new LoadCommands(*workspace_, *saving_, environment.Settings(),
                                environment.Chooser(), this);
    shell_ = new ShellCommands(*workspace_, *view_, this);
    tags_ =
        new TagCommands(*workspace_, *view_, environment.Messages(), environment.Context(), this);
    edits_ = new EditCommands(*workspace_, this);
    cells_ =
        new CellCommands(*workspace_, *view_, environment.Messages(), environment.Context(), this);
    exports_ = new ExportCommands(*workspace_, *view_, environment, this);
    batch_ = new BatchCommands(*workspace_, *view_, environment, this);
    BuildMenus();
    setCentralWidget(BuildCentre());
    connect(batch_, &BatchCommands::tagsGenerated, panel_, &TagEditorPanel::Reload);
    connect(workspace_, &Workspace::recordsReplaced, panel_, &TagEditorPanel::Reload);
    BuildStatusBar();
    connect(workspace_, &Workspace::stateChanged, this, [this] {
        if (closeWhenIdle_ && workspace_->IsIdle()) {
            closeWhenIdle_ = false;
            QTimer::singleShot(0, this, &QWidget::close);
        }
    });
    connect(view_, &FileListView::contextMenuWanted, this, &MainWindow::ShowContextMenu);
    connect(view_, &FileListView::openWanted, shell_, &ShellCommands::OpenCurrent);
    setAcceptDrops(true);
    ApplyDisplay();
    resize(kInitialSize);
    RestoreWindow(environment.Settings(), *this, *view_, *filter_);
}

MainWindow::~MainWindow() {
    environment_.Messages().SetWindow(nullptr);
}

void MainWindow::BuildMenus() {
    BuildFileMenu();
    BuildEditMenu();
    QMenu* view = menuBar()->addMenu(tr("&View"));
    // The header's menu, also for the keyboard.
    QMenu* columns = view->addMenu(tr("&Columns"));
    connect(columns, &QMenu::aboutToShow, this, [this, columns] {
        columns->clear();
        view_->FillColumnMenu(*columns);
    });
    QMenu* help = menuBar()->addMenu(tr("&Help"));
    QAction* about = help->addAction(tr("&About Velmora..."), this, &MainWindow::ShowAbout);
    about->setShortcut(QKeySequence::HelpContents);
    about->setStatusTip(tr("Show the program's name and version"));
}

void MainWindow::BuildFileMenu() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addAction(loading_->Browse());
    file->addAction(loading_->Reload());
    file->addAction(loading_->Stop());
    file->addSeparator();
    file->addAction(saving_->Save());
    QAction* review = file->addAction(tr("Re&view changes..."), this, &MainWindow::ShowReview);
    review->setStatusTip(tr("Show what a save would change, file by file"));
    QAction* history = file->addAction(tr("&History..."), this, &MainWindow::ShowHistory);
    history->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    history->setStatusTip(tr("Show the saves made so far and revert them"));
    connect(workspace_, &Workspace::stateChanged, this, [this, review, history] {
        review->setEnabled(workspace_->IsIdle());
        history->setEnabled(workspace_->IsIdle());
    });
    file->addSeparator();
    file->addAction(shell_->Open());
    file->addAction(shell_->Enqueue());
    file->addAction(shell_->Explore());
    file->addSeparator();
    exportMenu_ = file->addMenu(tr("&Export"));
    exportMenu_->addActions(exports_->Actions());
    file->addAction(cells_->ImportCsv());
    file->addSeparator();
    QAction* exit = file->addAction(tr("E&xit"), this, &QWidget::close);
    exit->setShortcuts(QKeySequence::Quit);
    exit->setStatusTip(tr("Quit the application; prompts to save documents"));
    file->setToolTipsVisible(true);
    connect(file, &QMenu::aboutToShow, shell_, &ShellCommands::MenuOpening);
}

void MainWindow::BuildEditMenu() {
    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    edit->addAction(edits_->Undo());
    edit->addAction(edits_->Redo());
    edit->addSeparator();
    edit->addAction(cells_->Copy());
    edit->addAction(cells_->Paste());
    edit->addSeparator();
    QAction* selectAll = edit->addAction(tr("Select &All"), view_, &QAbstractItemView::selectAll);
    selectAll->setShortcuts(QKeySequence::SelectAll);
    selectAll->setStatusTip(tr("Select every row shown"));
    QAction* find = edit->addAction(tr("&Filter"), this, [this] {
        filter_->setFocus(Qt::ShortcutFocusReason);
        filter_->selectAll();
    });
    find->setShortcuts(QKeySequence::Find);
    find->setStatusTip(tr("Show only the rows that contain a text"));
    edit->addSeparator();
    edit->addAction(tags_->RemoveV1());
    edit->addAction(tags_->RemoveV2());
    edit->addAction(batch_->Rename());
    edit->addAction(batch_->Generate());
    edit->addAction(tags_->TrackMode());
    edit->addSeparator();
    QAction* preferences =
        edit->addAction(tr("&Preferences..."), this, &MainWindow::ShowPreferences);
    preferences->setShortcuts(QKeySequence::Preferences);
    if (preferences->shortcuts().isEmpty())
        preferences->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
    preferences->setStatusTip(tr("Edit preferences"));
}

QWidget* MainWindow::BuildButtonBar() {
    auto* bar = new QWidget;
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(MirrorButton(loading_->Browse(), tr("Browse")));
    layout->addWidget(MirrorButton(saving_->Save(), tr("Save Changes")));
    layout->addWidget(MirrorButton(tags_->TrackMode()));
    layout->addWidget(MirrorButton(batch_->Rename(), tr("Rename")));
    layout->addStretch();
    return bar;
}

QWidget* MainWindow::BuildCentre() {
    auto* centre = new QWidget;
    auto* layout = new QVBoxLayout(centre);
    layout->addWidget(BuildButtonBar());
    filter_ = new QLineEdit;
    filter_->setObjectName(QStringLiteral("filter"));
    filter_->setPlaceholderText(tr("Filter (Ctrl+F)"));
    filter_->setClearButtonEnabled(true);
    connect(filter_, &QLineEdit::textChanged, &workspace_->Proxy(), &FileListProxy::SetFilterText);
    layout->addWidget(filter_);
    layout->addWidget(view_, 1);
    // The editor panel: a fixed height, so the list takes what the window gains.
    panel_ = new TagEditorPanel(
        *workspace_, environment_.Context(), environment_.Messages(), environment_.Chooser(),
        [this] { return view_->SelectedRecords(); }, tags_->RemoveV1(), tags_->RemoveV2());
    panel_->setObjectName(QStringLiteral("editorPanel"));
    panel_->setFixedHeight(kPanelHeight);
    connect(view_->selectionModel(), &QItemSelectionModel::selectionChanged, panel_,
            &TagEditorPanel::Reload);
    layout->addWidget(panel_);
    return centre;
}

void MainWindow::BuildStatusBar() {
    status_ = new QLabel(tr("Ready"));
    statusBar()->addWidget(status_, 1);
    status_->setObjectName(QStringLiteral("status"));
    connect(workspace_, &Workspace::statusChanged, status_, &QLabel::setText);
    auto* shown = new ShownCount(workspace_->Proxy(), *view_->selectionModel());
    connect(filter_, &QLineEdit::textChanged, shown, &ShownCount::Update);
    statusBar()->addPermanentWidget(shown);
    progress_ = new QLabel;
    progress_->setObjectName(QStringLiteral("progress"));
    statusBar()->addPermanentWidget(progress_);
    QToolButton* stop = MirrorButton(loading_->Stop(), tr("Stop"));
    statusBar()->addPermanentWidget(stop);
    progress_->hide();
    stop->hide();
    connect(workspace_, &Workspace::progressChanged, this, [this, stop](const QString& text) {
        progress_->setText(text);
        progress_->setVisible(!text.isEmpty());
        stop->setVisible(workspace_->State() == WorkState::Loading ||
                         workspace_->State() == WorkState::Editing);
    });
}

void MainWindow::OpenFolder(const std::u16string& folder) {
    loading_->OpenFolder(folder);
}

void MainWindow::ShowContextMenu(const QPoint& globalPos) {
    shell_->MenuOpening();
    QMenu menu(this);
    menu.setToolTipsVisible(true);
    menu.addAction(tags_->RemoveV1());
    menu.addAction(tags_->RemoveV2());
    menu.addAction(batch_->Rename());
    menu.addAction(batch_->Generate());
    menu.addMenu(exportMenu_);
    menu.addSeparator();
    menu.addAction(shell_->Open());
    menu.addAction(shell_->Enqueue());
    menu.addAction(shell_->Explore());
    menu.exec(globalPos);
}

void MainWindow::ShowPreferences() {
    PreferencesDialog dialog(environment_.Settings(), environment_.Messages(), this);
    dialog.exec();
    workspace_->UpdateOptions(ReadTagOptions(environment_.Settings()));
    ApplyDisplay();
}

void MainWindow::ShowReview() {
    if (!workspace_->IsIdle())
        return;
    workspace_->ApplyPendingEdits();
    std::vector<Mp3File*> pending;
    for (Mp3File* record : workspace_->Model().Records()) {
        if (record->NeedsSave())
            pending.push_back(record);
    }
    ReviewDialog dialog(environment_.Context(), std::move(pending), this);
    dialog.exec();
}

void MainWindow::ShowHistory() {
    HistoryDialog dialog(*workspace_, environment_.Context(), this);
    dialog.exec();
}

void MainWindow::ApplyDisplay() {
    const ListDisplay display = ListDisplay::Read(environment_.Settings());
    workspace_->Model().SetDisplay(display);
    view_->ApplyDisplay(display);
    if (workspace_->HasDirectory())
        status_->setText(workspace_->StatusText());
}

void MainWindow::ShowAbout() {
    QMessageBox box(this);
    box.setWindowTitle(tr("About Velmora"));
    box.setIconPixmap(AppIcon().pixmap(64, 64));
    box.setText(ToQString(kAppCaption));
    box.setInformativeText(tr("A tag editor and renamer for MP3 files."));
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // A load stops after the file at hand and a save finishes, then the window closes; the
    // command a save was asked for before (a load) no longer runs. A save asked for by the
    // question closes afterwards.
    if (!workspace_->IsIdle()) {
        workspace_->StopLoad();
        workspace_->DropAfterSave();
        closeWhenIdle_ = true;
        event->ignore();
        return;
    }
    if (!saving_->MayDiscard([this] { close(); })) {
        event->ignore();
        return;
    }
    RememberWindow(environment_.Settings(), *this, *view_, *filter_);
    event->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (workspace_->IsIdle() && LoadCommands::CanOpen(event->mimeData()->urls()))
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    loading_->OpenDropped(event->mimeData()->urls());
    event->acceptProposedAction();
}

}  // namespace velmora::ui
