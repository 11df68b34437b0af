#pragma once

#include <QAction>
#include <QKeySequence>
#include <QList>
#include <QString>
#include <QToolButton>

namespace velmora::ui {

// An action with its menu text, status-bar hint and shortcuts.
inline QAction* MakeAction(QObject* owner, const QString& text, const QString& hint,
                           const QList<QKeySequence>& shortcuts = {}) {
    auto* action = new QAction(text, owner);
    action->setStatusTip(hint);
    action->setShortcuts(shortcuts);
    return action;
}

// A button that mirrors `action`: Qt keeps its text, hint, enabled and checked state in step.
// `caption` is the button's shorter text; empty follows the action's text as it changes.
inline QToolButton* MirrorButton(QAction* action, const QString& caption = {}) {
    if (!caption.isEmpty())
        action->setIconText(caption);
    action->setToolTip(action->statusTip());
    auto* button = new QToolButton;
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setDefaultAction(action);
    return button;
}

}  // namespace velmora::ui
