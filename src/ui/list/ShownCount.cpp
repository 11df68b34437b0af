#include "ui/list/ShownCount.h"

#include <QItemSelectionModel>

#include "ui/list/FileListProxy.h"

namespace velmora::ui {

ShownCount::ShownCount(FileListProxy& proxy, QItemSelectionModel& selection, QWidget* parent)
    : QLabel(parent), proxy_(proxy), selection_(selection) {
    // Rows the filter hides change the total alone.
    for (QAbstractItemModel* model :
         {static_cast<QAbstractItemModel*>(&proxy), proxy.sourceModel()}) {
        connect(model, &QAbstractItemModel::rowsInserted, this, &ShownCount::Update);
        connect(model, &QAbstractItemModel::rowsRemoved, this, &ShownCount::Update);
        connect(model, &QAbstractItemModel::modelReset, this, &ShownCount::Update);
    }
    connect(&selection, &QItemSelectionModel::selectionChanged, this, &ShownCount::Update);
    Update();
}

void ShownCount::Update() {
    if (proxy_.FilterText().isEmpty()) {
        hide();
        return;
    }
    QString text =
        tr("%1 of %2 shown").arg(proxy_.rowCount()).arg(proxy_.sourceModel()->rowCount());
    const auto selected = selection_.selectedRows().size();
    if (selected > 0)
        text += tr(", %1 selected").arg(selected);
    setText(text);
    show();
}

}  // namespace velmora::ui
