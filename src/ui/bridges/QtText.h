#pragma once

#include <QString>
#include <QUrl>
#include <string>
#include <string_view>

namespace velmora::ui {

// The core's text is UTF-16, as QString's: conversions are copies, no transcoding.
inline QString ToQString(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()),
                   static_cast<qsizetype>(text.size()));
}

inline std::u16string ToU16(const QString& text) {
    return text.toStdU16String();
}

// A path of the core (file-name bytes kept losslessly in its text) as a local file URL.
QUrl PathToUrl(std::u16string_view path);
// A local path from the interface (a drop, the folder chooser) as the core's text.
std::u16string PathFromQString(const QString& path);

}  // namespace velmora::ui
