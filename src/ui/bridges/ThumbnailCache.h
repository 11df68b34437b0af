#pragma once

#include <QByteArray>
#include <QCache>
#include <QColor>
#include <QPixmap>
#include <cstdint>
#include <span>
#include <string_view>

namespace velmora::ui {

// The Pictures page's 96 x 96 thumbnails: each picture is decoded and scaled once, then
// found again by its content (the same cover in a hundred files is one entry).
class ThumbnailCache {
  public:
    static constexpr int kSide = 96;

    explicit ThumbnailCache(int maxEntries = 256) : cache_(maxEntries) {}

    // The picture fitted and centred on a square of `background`; a null pixmap when it does
    // not decode (empty data, another format, broken or oversized).
    QPixmap Thumbnail(std::span<const std::uint8_t> data, std::string_view subtype,
                      const QColor& background);
    int Decoded() const { return decoded_; }

  private:
    QCache<QByteArray, QPixmap> cache_;
    int decoded_ = 0;
};

}  // namespace velmora::ui
