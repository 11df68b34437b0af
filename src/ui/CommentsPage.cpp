#include "ui/CommentsPage.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <algorithm>

#include "edit/ActionNames.h"
#include "edit/CommentEdits.h"
#include "tags/EngineContext.h"
#include "tags/Mp3File.h"
#include "ui/EditCommentDialog.h"
#include "ui/QtText.h"

namespace velmora::ui {

CommentsPage::CommentsPage(const PanelLink& link, QWidget* parent)
    : ListPage(link, parent), list_(new QTreeWidget) {
    list_->setColumnCount(3);
    list_->setHeaderLabels({tr("Short Description"), tr("Language"), tr("Description")});
    // Wide enough for its header, which is wider than the others' in most styles.
    list_->setColumnWidth(0, std::max(100, list_->header()->sectionSizeHint(0)));
    list_->setColumnWidth(1, 100);
    list_->setColumnWidth(2, 250);
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    SetList(list_);
}

void CommentsPage::Fill(std::span<Mp3File* const> selection) {
    list_->clear();
    for (const edit::SharedComment& comment :
         edit::SharedComments(selection, Link().Engine().codePage)) {
        auto* row =
            new QTreeWidgetItem(list_, {ToQString(comment.description),
                                        ToQString(comment.languageName), ToQString(comment.text)});
        row->setData(0, kKeyRole, ToQString(comment.description));
    }
}

void CommentsPage::Open(const QVariant& key) {
    EditCommentDialog dialog(Link(), ToU16(key.toString()), window());
    dialog.exec();
}

void CommentsPage::DeleteRow(const QVariant& key) {
    const std::u16string description = ToU16(key.toString());
    Link().ApplyToEach(edit::kDeleteCommentAction, [&](Mp3File& record) {
        edit::DeleteComment(record, description, Link().Engine().codePage);
    });
}

void CommentsPage::DeleteAllRows() {
    Link().ApplyToEach(edit::kDeleteAllCommentsAction, edit::DeleteAllComments);
}

}  // namespace velmora::ui
