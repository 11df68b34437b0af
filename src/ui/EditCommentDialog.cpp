#include "ui/EditCommentDialog.h"

#include <QCollator>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStringList>
#include <algorithm>

#include "edit/ActionNames.h"
#include "edit/CommentEdits.h"
#include "edit/LanguageTable.h"
#include "tags/CommentOps.h"
#include "tags/EngineContext.h"
#include "tags/Mp3File.h"
#include "ui/PanelLink.h"
#include "ui/QtText.h"

namespace velmora::ui {
namespace {

// The names of the language rows, sorted, each once (a pair of codes shares one name, and
// the first row with it is the one a new comment takes).
QStringList LanguageNames() {
    QStringList names;
    for (const edit::LanguageRow& row : edit::kLanguageRows)
        names << ToQString(row.name);
    names.removeDuplicates();
    QCollator collator;
    std::sort(names.begin(), names.end(), collator);
    return names;
}

}  // namespace

EditCommentDialog::EditCommentDialog(const PanelLink& link, const std::u16string& description,
                                     QWidget* parent)
    : QDialog(parent),
      link_(link),
      shortDescription_(new QLineEdit),
      language_(new QComboBox),
      description_(new QPlainTextEdit) {
    setWindowTitle(tr("Edit Comment"));
    auto* form = new QFormLayout(this);
    form->addRow(tr("Short &Description"), shortDescription_);
    form->addRow(tr("&Language"), language_);
    form->addRow(tr("D&escription"), description_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
    // Enter in the text makes a new line; Tab leaves it for the buttons.
    description_->setTabChangesFocus(true);

    language_->addItems(LanguageNames());
    const auto selection = link.Selection();
    Comment comment;
    if (!selection.empty())
        comment = GetComment(selection.front()->V2(), description, link.Engine().codePage);
    shortDescription_->setText(ToQString(description));
    description_->setPlainText(ToQString(comment.text));
    language_->setCurrentText(ToQString(edit::LanguageToPreselect(comment.language)));
}

void EditCommentDialog::accept() {
    const edit::CommentEdit edit{ToU16(shortDescription_->text()),
                                 ToU16(description_->toPlainText()),
                                 edit::LanguageToStore(ToU16(language_->currentText()))};
    link_.ApplyToEach(edit::kCommentsAction,
                      [&](Mp3File& record) { edit::ApplyComment(record, edit, link_.Engine()); });
    QDialog::accept();
}

}  // namespace velmora::ui
