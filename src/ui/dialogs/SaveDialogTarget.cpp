#include "ui/dialogs/SaveDialogTarget.h"

#include <QFileDialog>
#include <QStringList>

#include "ui/bridges/QtText.h"

namespace velmora::ui {

QString SaveDialogTarget::FilterText(const FileFilter& filter) {
    const QString name = ToQString(filter.name);
    const QString pattern = ToQString(filter.pattern);
    if (name.contains(QLatin1Char('(')))
        return name;
    return name + QStringLiteral(" (") + pattern + QLatin1Char(')');
}

std::optional<std::u16string> SaveDialogTarget::ChooseTarget(const ExportFileType& type) {
    QStringList filters;
    for (const FileFilter& filter : type.filters)
        filters << FilterText(filter);
    QFileDialog dialog(owner_, QFileDialog::tr("Export"), folder_);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(ToQString(type.defaultExtension));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return PathFromQString(dialog.selectedFiles().front());
}

}  // namespace velmora::ui
