#include "ui/bridges/QtText.h"

#include <QFile>

#include "text/FileName.h"

namespace velmora::ui {

QUrl PathToUrl(std::u16string_view path) {
    const std::string bytes = text::TextToFileName(path);
    return QUrl::fromLocalFile(
        QFile::decodeName(QByteArray(bytes.data(), qsizetype(bytes.size()))));
}

std::u16string PathFromQString(const QString& path) {
    const QByteArray bytes = QFile::encodeName(path);
    return text::FileNameToText(std::string_view(bytes.constData(), std::size_t(bytes.size())));
}

}  // namespace velmora::ui
