#include "ui/CommentsPage.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>

#include "edit/ActionNames.h"
#include "edit/CommentEdits.h"
#include "tags/EngineContext.h"
#include "tags/Mp3File.h"
#include "ui/EditCommentDialog.h"
#include "ui/ListButtons.h"
#include "ui/QtText.h"

namespace velmora::ui {

CommentsPage::CommentsPage(const PanelLink& link, QWidget* parent)
    : PanelPage(link, parent), list_(new QTreeWidget) {
    list_->setColumnCount(3);
    list_->setHeaderLabels({tr("Short Description"), tr("Language"), tr("Description")});
    list_->setColumnWidth(0, 100);
    list_->setColumnWidth(1, 100);
    list_->setColumnWidth(2, 250);
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    const ListButtons buttons = AddListButtons(*this, list_);
    add_ = buttons.add;
    edit_ = buttons.edit;
    delete_ = buttons.remove;
    deleteAll_ = buttons.removeAll;
    connect(add_, &QPushButton::clicked, this, [this] { OpenDialog({}); });
    connect(edit_, &QPushButton::clicked, this, &CommentsPage::Edit);
    connect(delete_, &QPushButton::clicked, this, &CommentsPage::Delete);
    connect(deleteAll_, &QPushButton::clicked, this, &CommentsPage::DeleteAll);
    connect(list_, &QTreeWidget::itemSelectionChanged, this, &CommentsPage::UpdateButtons);
    connect(list_, &QTreeWidget::itemActivated, this, &CommentsPage::Edit);
    UpdateButtons();
}

void CommentsPage::Reload(std::span<Mp3File* const> selection) {
    list_->clear();
    anySelected_ = !selection.empty();
    for (const edit::SharedComment& comment :
         edit::SharedComments(selection, Link().Engine().codePage)) {
        auto* row =
            new QTreeWidgetItem(list_, {ToQString(comment.description),
                                        ToQString(comment.languageName), ToQString(comment.text)});
        row->setData(0, Qt::UserRole, ToQString(comment.description));
    }
    UpdateButtons();
}

void CommentsPage::UpdateButtons() {
    const bool row = !list_->selectedItems().isEmpty();
    edit_->setEnabled(row);
    delete_->setEnabled(row);
    add_->setEnabled(anySelected_);
    deleteAll_->setEnabled(anySelected_);
}

std::optional<std::u16string> CommentsPage::SelectedDescription() const {
    const auto rows = list_->selectedItems();
    if (rows.isEmpty())
        return std::nullopt;
    return ToU16(rows.front()->data(0, Qt::UserRole).toString());
}

void CommentsPage::OpenDialog(const std::u16string& description) {
    EditCommentDialog dialog(Link(), description, window());
    dialog.exec();
    Reload(Link().Selection());
}

void CommentsPage::Edit() {
    if (const auto description = SelectedDescription())
        OpenDialog(*description);
}

void CommentsPage::Delete() {
    const auto description = SelectedDescription();
    if (!description)
        return;
    Link().ApplyToEach(edit::kDeleteCommentAction, [&](Mp3File& record) {
        edit::DeleteComment(record, *description, Link().Engine().codePage);
    });
    Reload(Link().Selection());
}

void CommentsPage::DeleteAll() {
    Link().ApplyToEach(edit::kDeleteAllCommentsAction, edit::DeleteAllComments);
    Reload(Link().Selection());
}

}  // namespace velmora::ui
