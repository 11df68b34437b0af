#include "ui/dialogs/EditCommentDialog.h"

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
#include "tags/record/EngineContext.h"
#include "tags/record/Mp3File.h"
#include "ui/bridges/QtText.h"
#include "ui/panel/PanelLink.h"

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

EditCommentDialog::EditCommentDialog(const PanelLink& link,
                                     const std::optional<edit::CommentKey>& key, QWidget* parent)
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
    std::optional<edit::SharedComment> comment;
    if (!selection.empty())
        comment = edit::OpenedComment(*selection.front(), key, link.Engine().codePage);
    std::optional<std::string> code;
    if (comment) {
        opened_ = comment->key;
        code = comment->key.language;
    }
    shortDescription_->setText(ToQString(key ? key->description : std::u16string()));
    description_->setPlainText(comment ? ToQString(comment->text) : QString());
    shownLanguage_ = ToQString(edit::LanguageToPreselect(code));
    language_->setCurrentText(shownLanguage_);
}

void EditCommentDialog::accept() {
    const std::string chosen = edit::LanguageToStore(ToU16(language_->currentText()));
    const bool keepLanguage = opened_ && language_->currentText() == shownLanguage_;
    const edit::CommentEdit edit{
        {ToU16(shortDescription_->text()), keepLanguage ? opened_->language : chosen},
        ToU16(description_->toPlainText()),
        chosen};
    link_.ApplyToEach(edit::kCommentsAction,
                      [&](Mp3File& record) { edit::ApplyComment(record, edit, link_.Engine()); });
    QDialog::accept();
}

}  // namespace velmora::ui
