#include "ui/list/CellDelegate.h"

#include <QCompleter>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QStringList>

#include "edit/CommonValue.h"
#include "scan/FileListColumns.h"
#include "ui/bridges/QtText.h"

namespace velmora::ui {

QWidget* CellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                    const QModelIndex& index) const {
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    const auto column = static_cast<Column>(index.column());
    if (column == Column::Year) {
        editor->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), editor));
    } else if (column == Column::Genre) {
        QStringList names;
        for (const std::u16string_view name : edit::SortedGenreNames())
            names.append(ToQString(name));
        auto* completer = new QCompleter(names, editor);
        completer->setCaseSensitivity(Qt::CaseInsensitive);
        editor->setCompleter(completer);
    }
    return editor;
}

void CellDelegate::setModelData(QWidget* editor, QAbstractItemModel*,
                                const QModelIndex& index) const {
    emit valueTyped(index, static_cast<QLineEdit*>(editor)->text());
}

}  // namespace velmora::ui
