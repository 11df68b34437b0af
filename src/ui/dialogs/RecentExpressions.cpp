#include "ui/dialogs/RecentExpressions.h"

#include "ui/bridges/QtText.h"

namespace velmora::ui {

RecentExpressions::RecentExpressions(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    // A few entries are in view; the dialog's room goes to its preview.
    setMaximumHeight(fontMetrics().height() * 8);
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> selected = selectedItems();
        if (!selected.isEmpty())
            emit chosen(selected.front()->text());
    });
}

void RecentExpressions::Show(const std::vector<std::u16string>& entries) {
    clear();
    for (const std::u16string& entry : entries)
        insertItem(0, ToQString(entry));
}

void RecentExpressions::Add(const QString& expression) {
    if (expression.isEmpty())
        return;  // the store keeps no empty entry
    for (QListWidgetItem* same : findItems(expression, Qt::MatchExactly | Qt::MatchCaseSensitive))
        delete same;
    insertItem(0, expression);
}

QString RecentExpressions::TakeSelected() {
    const QList<QListWidgetItem*> selected = selectedItems();
    if (selected.isEmpty())
        return {};
    const QString text = selected.front()->text();
    delete selected.front();
    return text;
}

}  // namespace velmora::ui
