#include "ui/panel/CommentsPage.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <algorithm>

#include "edit/ActionNames.h"
#include "edit/CommentEdits.h"
#include "tags/record/EngineContext.h"
#include "tags/record/Mp3File.h"
#include "ui/bridges/QtText.h"
#include "ui/dialogs/EditCommentDialog.h"

namespace velmora::ui {
namespace {

QVariant RowKey(const edit::CommentKey& key) {
    return QVariantList{ToQString(key.description), QByteArray::fromStdString(key.language)};
}

edit::CommentKey KeyOf(const QVariant& row) {
    const QVariantList parts = row.toList();
    return {ToU16(parts.value(0).toString()), parts.value(1).toByteArray().toStdString()};
}

}  // namespace

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
            new QTreeWidgetItem(list_, {ToQString(comment.key.description),
                                        ToQString(comment.languageName), ToQString(comment.text)});
        row->setData(0, kKeyRole, RowKey(comment.key));
    }
}

void CommentsPage::Open(const QVariant& key) {
    EditCommentDialog dialog(Link(), key.isNull() ? std::nullopt : std::optional(KeyOf(key)),
                             window());
    dialog.exec();
}

void CommentsPage::DeleteRow(const QVariant& key) {
    const edit::CommentKey comment = KeyOf(key);
    Link().ApplyToEach(edit::kDeleteCommentAction,
                       [&](Mp3File& record) { edit::DeleteComment(record, comment); });
}

void CommentsPage::DeleteAllRows() {
    Link().ApplyToEach(edit::kDeleteAllCommentsAction, edit::DeleteAllComments);
}

}  // namespace velmora::ui
