#include "ui/panel/ListPage.h"

#include <QAbstractItemView>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>
#include <QVariant>
#include <utility>

namespace velmora::ui {

void ListPage::SetList(QAbstractItemView* list) {
    list_ = list;
    add_ = new QPushButton(tr("A&dd"));
    edit_ = new QPushButton(tr("&Edit"));
    delete_ = new QPushButton(tr("Dele&te"));
    deleteAll_ = new QPushButton(tr("Delete Al&l"));
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(list, 1);
    auto* column = new QVBoxLayout;
    for (QPushButton* button : {add_, edit_, delete_, deleteAll_})
        column->addWidget(button);
    column->addStretch();
    layout->addLayout(column);
    for (auto [key, button] :
         {std::pair{Qt::Key_Insert, add_}, std::pair{Qt::Key_Delete, delete_}}) {
        auto* shortcut = new QShortcut(QKeySequence(key), list, nullptr, nullptr,
                                       Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, button, &QPushButton::click);
    }
    const auto edit = [this] {
        if (const auto key = SelectedKey()) {
            Open(*key);
            ReloadSelection();
        }
    };
    connect(add_, &QPushButton::clicked, this, [this] {
        Open(QVariant());
        ReloadSelection();
    });
    connect(edit_, &QPushButton::clicked, this, edit);
    connect(list, &QAbstractItemView::activated, this, edit);
    connect(delete_, &QPushButton::clicked, this, [this] {
        if (const auto key = SelectedKey()) {
            DeleteRow(*key);
            ReloadSelection();
        }
    });
    connect(deleteAll_, &QPushButton::clicked, this, [this] {
        DeleteAllRows();
        ReloadSelection();
    });
    connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ListPage::UpdateButtons);
    UpdateButtons();
}

void ListPage::Reload(std::span<Mp3File* const> selection) {
    anySelected_ = !selection.empty();
    Fill(selection);
    UpdateButtons();
}

void ListPage::ReloadSelection() {
    Reload(Link().Selection());
}

std::optional<QVariant> ListPage::SelectedKey() const {
    const QModelIndexList rows = list_->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return std::nullopt;
    return rows.front().data(kKeyRole);
}

void ListPage::UpdateButtons() {
    const bool row = list_->selectionModel()->hasSelection();
    edit_->setEnabled(row);
    delete_->setEnabled(row);
    add_->setEnabled(anySelected_);
    deleteAll_->setEnabled(anySelected_);
}

}  // namespace velmora::ui
