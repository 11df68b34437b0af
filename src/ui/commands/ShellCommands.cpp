#include "ui/commands/ShellCommands.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusObjectPath>
#include <QDesktopServices>
#include <QItemSelectionModel>
#include <QStringList>

#include "tags/record/Mp3File.h"
#include "ui/app/Actions.h"
#include "ui/app/Workspace.h"
#include "ui/bridges/MprisNames.h"
#include "ui/bridges/PlayerLookup.h"
#include "ui/bridges/QtText.h"
#include "ui/list/FileListView.h"

namespace velmora::ui {
namespace {

// Asks the desktop's file manager to show the files selected in their folders.
bool ShowInFileManager(const QStringList& uris) {
    QDBusInterface manager(QStringLiteral("org.freedesktop.FileManager1"),
                           QStringLiteral("/org/freedesktop/FileManager1"),
                           QStringLiteral("org.freedesktop.FileManager1"),
                           QDBusConnection::sessionBus());
    if (!manager.isValid())
        return false;
    manager.setTimeout(kBusTimeoutMs);
    const QDBusMessage reply = manager.call(QStringLiteral("ShowItems"), uris, QString());
    return reply.type() == QDBusMessage::ReplyMessage;
}

}  // namespace

ShellCommands::ShellCommands(Workspace& workspace, FileListView& view, QObject* parent)
    : QObject(parent),
      workspace_(workspace),
      view_(view),
      player_(new PlayerLookup(this)),
      open_(MakeAction(this, tr("&Open"), tr("Open the file"))),
      enqueue_(MakeAction(this, tr("En&queue"), tr("Enqueue the file"),
                          {QKeySequence(Qt::CTRL | Qt::Key_U)})),
      explore_(MakeAction(this, tr("E&xplore Directory"), tr("Show the file in its directory"),
                          {QKeySequence(Qt::CTRL | Qt::Key_E)})) {
    connect(open_, &QAction::triggered, this, &ShellCommands::OpenFiles);
    connect(enqueue_, &QAction::triggered, this, &ShellCommands::EnqueueFiles);
    connect(explore_, &QAction::triggered, this, &ShellCommands::ExploreFiles);
    connect(view.selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ShellCommands::UpdateActions);
    connect(&workspace, &Workspace::stateChanged, this, &ShellCommands::UpdateActions);
    connect(player_, &PlayerLookup::changed, this, &ShellCommands::UpdateActions);
    UpdateActions();
    player_->Refresh();
}

void ShellCommands::UpdateActions() {
    const bool any =
        workspace_.State() != WorkState::Saving && view_.selectionModel()->hasSelection();
    const bool player = !player_->Player().isEmpty();
    open_->setEnabled(any);
    explore_->setEnabled(any);
    enqueue_->setEnabled(any && player);
    enqueue_->setToolTip(player ? enqueue_->statusTip()
                                : tr("No running player offers a play queue (MPRIS track list)"));
}

void ShellCommands::MenuOpening() {
    player_->Refresh();
}

void ShellCommands::OpenFiles() {
    for (const Mp3File* record : view_.SelectedRecords())
        QDesktopServices::openUrl(PathToUrl(record->DiskPath()));
}

void ShellCommands::OpenCurrent() {
    const Mp3File* record = view_.CurrentRecord();
    if (record && workspace_.State() != WorkState::Saving)
        QDesktopServices::openUrl(PathToUrl(record->DiskPath()));
}

void ShellCommands::EnqueueFiles() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QDBusObjectPath noTrack(QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack"));
    // Sent in order without waiting for the player's answers.
    for (const Mp3File* record : view_.SelectedRecords()) {
        QDBusMessage add = QDBusMessage::createMethodCall(player_->Player(), kPlayerPath,
                                                          kTrackList, QStringLiteral("AddTrack"));
        add << PathToUrl(record->DiskPath()).toString() << QVariant::fromValue(noTrack) << false;
        bus.send(add);
    }
}

void ShellCommands::ExploreFiles() {
    QStringList uris;
    QStringList folders;
    for (const Mp3File* record : view_.SelectedRecords()) {
        uris << PathToUrl(record->DiskPath()).toString();
        const QString folder = PathToUrl(record->Directory()).toString();
        if (!folders.contains(folder))
            folders << folder;
    }
    if (uris.isEmpty() || ShowInFileManager(uris))
        return;
    // Without a file manager that shows items, each folder is opened once.
    for (const QString& folder : folders)
        QDesktopServices::openUrl(QUrl(folder));
}

}  // namespace velmora::ui
