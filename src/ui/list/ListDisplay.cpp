#include "ui/list/ListDisplay.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <algorithm>

#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

namespace velmora::ui {
namespace {

constexpr int kShadeStep = 0x10;
constexpr int kLightFrom = 0xEF;

// A music note on a sheet: a folded page with a note drawn on it, scaled to `size`.
QPixmap NotePage(int size, const QColor& page, const QColor& mark) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 16.0, size / 16.0);
    QPainterPath sheet;
    sheet.moveTo(2.5, 0.5);
    sheet.lineTo(10.5, 0.5);
    sheet.lineTo(13.5, 3.5);
    sheet.lineTo(13.5, 15.5);
    sheet.lineTo(2.5, 15.5);
    sheet.closeSubpath();
    painter.setPen(QPen(QColor(90, 90, 90), 1));
    painter.setBrush(page);
    painter.drawPath(sheet);
    painter.setPen(Qt::NoPen);
    painter.setBrush(mark);
    painter.drawEllipse(QRectF(4.5, 10.0, 3.5, 3.0));
    painter.drawRect(QRectF(7.2, 4.0, 1.0, 7.8));
    painter.drawRect(QRectF(7.2, 4.0, 3.3, 1.2));
    return pixmap;
}

}  // namespace

ListDisplay ListDisplay::Read(const SettingsKey& settings) {
    return {settings.Read(settings::kShowIcons), settings.Read(settings::kShowRedText),
            settings.Read(settings::kShowGridlines), settings.Read(settings::kAlternateBg)};
}

QColor EvenRowShade(const QColor& window) {
    // A colour with a channel this bright cannot be lightened, so it is darkened.
    const bool light = std::max({window.red(), window.green(), window.blue()}) >= kLightFrom;
    const int step = light ? -kShadeStep : kShadeStep;
    auto shade = [step](int channel) { return std::clamp(channel + step, 0, 255); };
    return QColor(shade(window.red()), shade(window.green()), shade(window.blue()));
}

QIcon CleanRowIcon() {
    return QIcon(NotePage(16, QColor(250, 250, 250), QColor(40, 40, 40)));
}

QIcon UpdatedRowIcon() {
    return QIcon(NotePage(16, QColor(255, 228, 228), kUpdatedText));
}

// The installed icon when the theme has it; the drawn page when run from the build folder.
QIcon AppIcon() {
    QIcon drawn;
    for (int size : {16, 32, 48, 64, 128})
        drawn.addPixmap(NotePage(size, QColor(250, 250, 250), QColor(40, 70, 140)));
    return QIcon::fromTheme(QStringLiteral(VELMORA_APP_ID), drawn);
}

}  // namespace velmora::ui
