#include "ui/bridges/ThumbnailCache.h"

#include <QCryptographicHash>
#include <QPainter>

#include "edit/PictureRules.h"
#include "ui/bridges/PictureImage.h"

namespace velmora::ui {

QPixmap ThumbnailCache::Thumbnail(std::span<const std::uint8_t> data, std::string_view subtype,
                                  const QColor& background) {
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(QByteArrayView(reinterpret_cast<const char*>(data.data()),
                                static_cast<qsizetype>(data.size())));
    hash.addData(QByteArrayView(subtype.data(), static_cast<qsizetype>(subtype.size())));
    QByteArray key = hash.result() + background.name().toLatin1();
    if (const QPixmap* found = cache_.object(key))
        return *found;
    ++decoded_;
    const QImage image = DecodePicture(data, subtype);
    QPixmap thumbnail;
    if (!image.isNull()) {
        const edit::FittedRect fit = edit::FitImage(kSide, kSide, image.width(), image.height());
        thumbnail = QPixmap(kSide, kSide);
        thumbnail.fill(background);
        QPainter painter(&thumbnail);
        painter.drawImage(
            QRect(fit.x, fit.y, fit.width, fit.height),
            image.scaled(fit.width, fit.height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    cache_.insert(std::move(key), new QPixmap(thumbnail));
    return thumbnail;
}

}  // namespace velmora::ui
