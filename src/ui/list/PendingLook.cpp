#include "ui/list/PendingLook.h"

#include <QFont>
#include <QPalette>
#include <QVariant>
#include <QWidget>

namespace velmora::ui {
namespace {

constexpr char kPendingProperty[] = "pendingEdit";
// How much of the highlight colour tints the field.
constexpr float kTint = 0.25F;

QColor Mix(const QColor& base, const QColor& tint) {
    return QColor::fromRgbF(base.redF() + (tint.redF() - base.redF()) * kTint,
                            base.greenF() + (tint.greenF() - base.greenF()) * kTint,
                            base.blueF() + (tint.blueF() - base.blueF()) * kTint);
}

}  // namespace

void ShowPending(QWidget& field, bool pending) {
    if (ShowsPending(field) == pending)
        return;
    field.setProperty(kPendingProperty, pending);
    if (pending) {
        const QPalette natural = field.palette();
        QPalette look;
        const QColor tint = natural.color(QPalette::Highlight);
        look.setColor(QPalette::Base, Mix(natural.color(QPalette::Base), tint));
        look.setColor(QPalette::Button, Mix(natural.color(QPalette::Button), tint));
        field.setPalette(look);
    } else {
        // An empty palette sets no role: the field takes its parent's again.
        field.setPalette(QPalette());
    }
    QFont font = field.font();
    font.setItalic(pending);
    field.setFont(font);
}

bool ShowsPending(const QWidget& field) {
    return field.property(kPendingProperty).toBool();
}

}  // namespace velmora::ui
