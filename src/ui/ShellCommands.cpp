#include "ui/ShellCommands.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDesktopServices>
#include <QItemSelectionModel>
#include <QSet>
#include <QStringList>

#include "tags/Mp3File.h"
#include "ui/Actions.h"
#include "ui/FileListView.h"
#include "ui/QtText.h"

namespace velmora::ui {
namespace {

constexpr int kBusTimeoutMs = 500;
const QString kPlayerPrefix = QStringLiteral("org.mpris.MediaPlayer2.");
const QString kPlayerPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kTrackList = QStringLiteral("org.mpris.MediaPlayer2.TrackList");

// The first running MPRIS player whose track list can be edited; empty when none.
QString PlayerWithQueue() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface())
        return {};
    const QStringList names = bus.interface()->registeredServiceNames().value();
    for (const QString& name : names) {
        if (!name.startsWith(kPlayerPrefix))
            continue;
        QDBusInterface tracks(name, kPlayerPath, kTrackList, bus);
        tracks.setTimeout(kBusTimeoutMs);
        if (tracks.isValid() && tracks.property("CanEditTracks").toBool())
            return name;
    }
    return {};
}

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

ShellCommands::ShellCommands(FileListView& view, QObject* parent)
    : QObject(parent),
      view_(view),
      open_(MakeAction(this, tr("&Open"), tr("Open the file"))),
      enqueue_(MakeAction(this, tr("En&queue"), tr("Enqueue the file"),
                          {QKeySequence(Qt::CTRL | Qt::Key_U)})),
      explore_(MakeAction(this, tr("E&xplore Directory"), tr("Show the file in its directory"),
                          {QKeySequence(Qt::CTRL | Qt::Key_E)})) {
    connect(open_, &QAction::triggered, this, &ShellCommands::OpenFiles);
    connect(enqueue_, &QAction::triggered, this, &ShellCommands::EnqueueFiles);
    connect(explore_, &QAction::triggered, this, &ShellCommands::ExploreFiles);
    connect(view.selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { UpdateActions(false); });
    enqueue_->setEnabled(false);
    UpdateActions(false);
}

void ShellCommands::UpdateActions(bool lookForPlayer) {
    const bool any = view_.selectionModel()->hasSelection();
    open_->setEnabled(any);
    explore_->setEnabled(any);
    if (!lookForPlayer)
        return;
    const bool player = any && !PlayerWithQueue().isEmpty();
    enqueue_->setEnabled(player);
    enqueue_->setToolTip(player ? enqueue_->statusTip()
                                : tr("No running player offers a play queue (MPRIS track list)"));
}

void ShellCommands::OpenFiles() {
    for (const Mp3File* record : view_.SelectedRecords())
        QDesktopServices::openUrl(PathToUrl(record->DiskPath()));
}

void ShellCommands::EnqueueFiles() {
    const QString player = PlayerWithQueue();
    if (player.isEmpty())
        return;
    QDBusInterface tracks(player, kPlayerPath, kTrackList, QDBusConnection::sessionBus());
    tracks.setTimeout(kBusTimeoutMs);
    const QDBusObjectPath noTrack(QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack"));
    for (const Mp3File* record : view_.SelectedRecords()) {
        tracks.call(QStringLiteral("AddTrack"), PathToUrl(record->DiskPath()).toString(),
                    QVariant::fromValue(noTrack), false);
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
