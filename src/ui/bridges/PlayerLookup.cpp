#include "ui/bridges/PlayerLookup.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QStringList>
#include <memory>
#include <vector>

#include "ui/bridges/MprisNames.h"

namespace velmora::ui {
namespace {

// Answers from the players, in the order they were asked; the first that can edit wins.
struct Answers {
    std::vector<int> canEdit;  // -1 while unanswered, then 0 or 1
    int waiting = 0;
};

}  // namespace

PlayerLookup::PlayerLookup(QObject* parent) : QObject(parent) {}

void PlayerLookup::Refresh() {
    if (running_)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        Settle({});
        return;
    }
    running_ = true;
    const QDBusMessage list = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("ListNames"));
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(list, kBusTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* call) {
                call->deleteLater();
                const QDBusPendingReply<QStringList> reply = *call;
                QStringList players;
                if (!reply.isError()) {
                    for (const QString& name : reply.value()) {
                        if (name.startsWith(kPlayerPrefix))
                            players << name;
                    }
                }
                AskPlayers(players);
            });
}

void PlayerLookup::AskPlayers(const QStringList& names) {
    if (names.isEmpty()) {
        Settle({});
        return;
    }
    auto answers = std::make_shared<Answers>();
    answers->canEdit.assign(std::size_t(names.size()), -1);
    answers->waiting = int(names.size());
    QDBusConnection bus = QDBusConnection::sessionBus();
    for (int i = 0; i < names.size(); ++i) {
        QDBusMessage get = QDBusMessage::createMethodCall(
            names[i], kPlayerPath, QStringLiteral("org.freedesktop.DBus.Properties"),
            QStringLiteral("Get"));
        get << kTrackList << QStringLiteral("CanEditTracks");
        auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(get, kBusTimeoutMs), this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this,
                [this, names, answers, i](QDBusPendingCallWatcher* call) {
                    call->deleteLater();
                    const QDBusPendingReply<QDBusVariant> reply = *call;
                    answers->canEdit[std::size_t(i)] =
                        !reply.isError() && reply.value().variant().toBool() ? 1 : 0;
                    if (--answers->waiting > 0)
                        return;
                    QString player;
                    for (std::size_t at = 0; at < answers->canEdit.size(); ++at) {
                        if (answers->canEdit[at] == 1) {
                            player = names[int(at)];
                            break;
                        }
                    }
                    Settle(player);
                });
    }
}

void PlayerLookup::Settle(const QString& player) {
    running_ = false;
    if (player == player_)
        return;
    player_ = player;
    emit changed();
}

}  // namespace velmora::ui
