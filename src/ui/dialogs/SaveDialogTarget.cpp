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
    FileQuestion question{FileQuestion::Kind::NewFile, QFileDialog::tr("Export"), folder_};
    question.filters = filters;
    question.defaultSuffix = ToQString(type.defaultExtension);
    const QString chosen = chooser_.Ask(owner_, question);
    if (chosen.isEmpty())
        return std::nullopt;
    return PathFromQString(chosen);
}

}  // namespace velmora::ui
