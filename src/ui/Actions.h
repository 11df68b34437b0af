#pragma once

#include <QAction>
#include <QKeySequence>
#include <QList>
#include <QString>

namespace velmora::ui {

// An action with its menu text, status-bar hint and shortcuts.
inline QAction* MakeAction(QObject* owner, const QString& text, const QString& hint,
                           const QList<QKeySequence>& shortcuts = {}) {
    auto* action = new QAction(text, owner);
    action->setStatusTip(hint);
    action->setShortcuts(shortcuts);
    return action;
}

}  // namespace velmora::ui
