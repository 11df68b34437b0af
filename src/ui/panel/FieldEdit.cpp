#include "ui/panel/FieldEdit.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

#include "ui/bridges/QtText.h"
#include "ui/list/PendingLook.h"

namespace velmora::ui {

FieldEdit::FieldEdit(QWidget* parent) : QLineEdit(parent) {
    // Only the user's typing marks the field changed, never setText.
    connect(this, &QLineEdit::textEdited, this, &FieldEdit::UpdateChanged);
}

void FieldEdit::UpdateChanged() {
    changed_ = isUndoAvailable() || text() != loadedText_;
    ShowPending(*this, changed_);
    update();
}

void FieldEdit::Reload(const edit::CommonText& value) {
    Reload(ToQString(value.text), value.shown);
}

void FieldEdit::Reload(const QString& text, edit::Shown shown) {
    loadedText_ = text;
    loadedShown_ = shown;
    Revert();
}

void FieldEdit::Revert() {
    setText(loadedText_);
    shown_ = loadedShown_;
    changed_ = false;
    ShowPending(*this, false);
    update();
}

QString FieldEdit::Overlay() const {
    if (changed_)
        return {};
    switch (shown_) {
        case edit::Shown::Empty:
            return tr("(empty)");
        case edit::Shown::Multiple:
            return tr("(multiple)");
        case edit::Shown::Normal:
            break;
    }
    return {};
}

std::optional<std::u16string> FieldEdit::Edit() const {
    if (!changed_)
        return std::nullopt;
    return ToU16(text());
}

bool FieldEdit::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->matches(QKeySequence::Undo) && !isUndoAvailable()) ||
            (key->matches(QKeySequence::Redo) && !isRedoAvailable())) {
            event->ignore();
            return true;
        }
    }
    return QLineEdit::event(event);
}

void FieldEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        Revert();
        return;
    }
    QLineEdit::keyPressEvent(event);
    if (event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo))
        UpdateChanged();
}

void FieldEdit::paintEvent(QPaintEvent* event) {
    // With an overlay the text is empty: the frame and the cursor as usual, the word on top.
    QLineEdit::paintEvent(event);
    const QString overlay = Overlay();
    if (overlay.isEmpty())
        return;
    QPainter painter(this);
    QStyleOptionFrame frame;
    initStyleOption(&frame);
    const QRect inside = style()->subElementRect(QStyle::SE_LineEditContents, &frame, this);
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.setFont(font());
    painter.drawText(inside, Qt::AlignCenter, overlay);
}

}  // namespace velmora::ui
