#include "ui/bridges/FileChooser.h"

#include <QFileDialog>

namespace velmora::ui {

QString DialogFileChooser::Ask(QWidget* owner, const FileQuestion& question) {
    QFileDialog dialog(owner, question.title, question.folder);
    switch (question.kind) {
        case FileQuestion::Kind::ExistingFile:
            dialog.setFileMode(QFileDialog::ExistingFile);
            break;
        case FileQuestion::Kind::NewFile:
            // Qt asks before an existing file is replaced.
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setFileMode(QFileDialog::AnyFile);
            break;
        case FileQuestion::Kind::Folder:
            dialog.setFileMode(QFileDialog::Directory);
            dialog.setOption(QFileDialog::ShowDirsOnly);
            break;
    }
    if (!question.filters.isEmpty())
        dialog.setNameFilters(question.filters);
    if (!question.defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(question.defaultSuffix);
    if (!question.name.isEmpty())
        dialog.selectFile(question.name);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().front();
}

}  // namespace velmora::ui
