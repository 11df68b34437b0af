#include "ui/bridges/PictureImage.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

namespace velmora::ui {

QImage DecodePicture(std::span<const std::uint8_t> data, std::string_view subtype) {
    const QByteArray format = subtype == "jpg" || subtype == "jpeg" ? QByteArrayLiteral("jpeg")
                              : subtype == "png"                    ? QByteArrayLiteral("png")
                                                                    : QByteArray();
    if (format.isEmpty() || data.empty())
        return {};
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data.data()),
                                               static_cast<qsizetype>(data.size()));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    reader.setAllocationLimit(kDecodeLimitMiB);
    QImage image;
    if (!reader.read(&image))
        return {};
    return image;
}

}  // namespace velmora::ui
