#include "ui/panel/GenreBox.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "ui/list/PendingLook.h"

namespace velmora::ui {

namespace {

bool IsPlainEscape(const QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    return key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier;
}

}  // namespace

GenreBox::GenreBox(bool editable, QWidget* parent) : QComboBox(parent) {
    setObjectName(QStringLiteral("Genre"));
    setEditable(editable);
    connect(this, &QComboBox::activated, this, [this] { SetChanged(true); });
    if (editable) {
        setInsertPolicy(QComboBox::NoInsert);
        connect(lineEdit(), &QLineEdit::textEdited, this, [this] { SetChanged(true); });
        // The typed text's field has the focus and would swallow the key.
        lineEdit()->installEventFilter(this);
    }
}

void GenreBox::ShowLoaded(int index, const QString& text) {
    loadedIndex_ = index;
    loadedText_ = text;
    setCurrentIndex(index);
    if (index < 0 && isEditable())
        setEditText(text);
    SetChanged(false);
}

void GenreBox::SetChanged(bool changed) {
    changed_ = changed;
    ShowPending(*this, changed);
}

void GenreBox::Revert() {
    ShowLoaded(loadedIndex_, loadedText_);
}

void GenreBox::keyPressEvent(QKeyEvent* event) {
    if (IsPlainEscape(event)) {
        Revert();
        return;
    }
    QComboBox::keyPressEvent(event);
}

bool GenreBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lineEdit() && IsPlainEscape(event)) {
        Revert();
        return true;
    }
    // With no typing of its own to take back, Undo and Redo go to the window.
    if (watched == lineEdit() && event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->matches(QKeySequence::Undo) && !lineEdit()->isUndoAvailable()) ||
            (key->matches(QKeySequence::Redo) && !lineEdit()->isRedoAvailable())) {
            event->ignore();
            return true;
        }
    }
    return QComboBox::eventFilter(watched, event);
}

}  // namespace velmora::ui
