#pragma once

#include <QObject>
#include <QString>

namespace velmora::ui {

// The first running MPRIS player whose play queue can be edited, looked up on the session
// bus without waiting for it: a menu that asks gets the answer of the last lookup at once,
// and `changed` follows when a fresh one differs.
class PlayerLookup : public QObject {
    Q_OBJECT

  public:
    explicit PlayerLookup(QObject* parent = nullptr);

    // The player's bus name; empty while none is known.
    const QString& Player() const { return player_; }
    // Starts a lookup unless one is running.
    void Refresh();

  signals:
    void changed();

  private:
    void AskPlayers(const QStringList& names);
    void Settle(const QString& player);

    QString player_;
    bool running_ = false;
};

}  // namespace velmora::ui
