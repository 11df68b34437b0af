#include "ui/ListPage.h"

#include <QAbstractItemView>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>
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
    connect(add_, &QPushButton::clicked, this, &ListPage::Add);
    connect(edit_, &QPushButton::clicked, this, &ListPage::Edit);
    connect(delete_, &QPushButton::clicked, this, &ListPage::Delete);
    connect(deleteAll_, &QPushButton::clicked, this, &ListPage::DeleteAll);
    connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ListPage::UpdateButtons);
    connect(list, &QAbstractItemView::activated, this, &ListPage::Edit);
    UpdateButtons();
}

void ListPage::Reload(std::span<Mp3File* const> selection) {
    anySelected_ = !selection.empty();
    Fill(selection);
    UpdateButtons();
}

void ListPage::ApplyToEachAndReload(std::u16string name,
                                    const std::function<void(Mp3File&)>& change) {
    Link().ApplyToEach(std::move(name), change);
    ReloadSelection();
}

void ListPage::ReloadSelection() {
    Reload(Link().Selection());
}

void ListPage::UpdateButtons() {
    const bool row = list_->selectionModel()->hasSelection();
    edit_->setEnabled(row);
    delete_->setEnabled(row);
    add_->setEnabled(anySelected_);
    deleteAll_->setEnabled(anySelected_);
}

}  // namespace velmora::ui
