#include "ui/dialogs/PictureViewer.h"

#include <QDesktopServices>
#include <QDir>
#include <QStandardPaths>
#include <QUrl>

#include "common/Messages.h"
#include "edit/PictureFiles.h"
#include "ui/bridges/QtText.h"

namespace velmora::ui {
namespace {

QString FolderTemplate() {
    QString base = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (base.isEmpty())
        base = QDir::tempPath();
    return base + QStringLiteral("/velmora-picture-XXXXXX");
}

}  // namespace

bool PictureViewer::Open(std::span<const std::uint8_t> data, const std::string& subtype,
                         MessageSink& messages) {
    if (!folder_ || !folder_->isValid())
        folder_ = std::make_unique<QTemporaryDir>(FolderTemplate());
    const QString path =
        folder_->filePath(QStringLiteral("tempimage.") + QString::fromStdString(subtype));
    if (!edit::WritePictureFile(PathFromQString(path), data, messages))
        return false;
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    return true;
}

}  // namespace velmora::ui
