#include "ui/panel/PictureFrame.h"

#include <QMouseEvent>
#include <QPainter>

#include "edit/PictureRules.h"

namespace velmora::ui {

PictureFrame::PictureFrame(QWidget* parent) : QWidget(parent) {
    setMinimumSize(200, 200);
    setCursor(Qt::PointingHandCursor);
}

void PictureFrame::SetImage(QImage image) {
    image_ = std::move(image);
    update();
}

QRect PictureFrame::ImageRect() const {
    if (image_.isNull())
        return {};
    const QRect area = rect().adjusted(1, 1, -1, -1);
    const edit::FittedRect fit =
        edit::FitImage(area.width(), area.height(), image_.width(), image_.height());
    return {area.x() + fit.x, area.y() + fit.y, fit.width, fit.height};
}

void PictureFrame::paintEvent(QPaintEvent*) {
    if (image_.isNull())
        return;
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(ImageRect(), image_);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void PictureFrame::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

}  // namespace velmora::ui
