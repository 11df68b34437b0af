#include "ui/RenameDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "batch/RenameCommand.h"
#include "edit/ActionNames.h"
#include "edit/EditJournal.h"
#include "tags/EngineContext.h"
#include "tags/Mp3File.h"
#include "ui/PreviewTable.h"
#include "ui/QtText.h"
#include "ui/RecentExpressions.h"
#include "ui/UiMessageSink.h"

namespace velmora::ui {

RenameDialog::RenameDialog(std::vector<Mp3File*>& batch, const BatchDialogContext& context,
                           QWidget* parent)
    : QDialog(parent), batch_(batch), context_(context) {
    setWindowTitle(tr("Rename"));
    auto* help =
        new QLabel(tr("Enter any text and/or variables.\n\nValid variables:\n"
                      "%artist, %album, %title, %track, %year, %genre"));
    expression_ = new QLineEdit;
    recent_ = new RecentExpressions;
    auto* recentLabel = new QLabel(tr("Recent &Expressions"));
    recentLabel->setBuddy(recent_);
    preview_ = MakePreviewTable({tr("Name"), tr("New Name"), tr("Note")});
    problem_ = new QLabel;
    problem_->setWordWrap(true);

    auto* buttons = new QDialogButtonBox;
    QPushButton* remove = buttons->addButton(tr("&Delete Selected"), QDialogButtonBox::ActionRole);
    QPushButton* rename = buttons->addButton(tr("&Rename"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    rename->setDefault(true);
    connect(remove, &QPushButton::clicked, this, &RenameDialog::DeleteSelected);
    connect(buttons, &QDialogButtonBox::accepted, this, &RenameDialog::Rename);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(recent_, &RecentExpressions::chosen, expression_, &QLineEdit::setText);
    connect(expression_, &QLineEdit::textChanged, this, &RenameDialog::UpdatePreview);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(help);
    layout->addWidget(expression_);
    layout->addWidget(recentLabel);
    layout->addWidget(recent_);
    layout->addWidget(preview_, 1);
    layout->addWidget(problem_);
    layout->addWidget(buttons);
    resize(640, 480);

    recent_->Show(batch::RecentRenameExpressions(context_.settings));
    UpdatePreview();
}

void RenameDialog::UpdatePreview() {
    const auto compiled = batch::CompileRenamePattern(ToU16(expression_->text()));
    if (!compiled.pattern) {
        problem_->setText(ToQString(MessageText(
            ErrorMessage(MessageKind::UnrecognizedField, {}, {}, compiled.unrecognizedField),
            u" ")));
        ShowPreviewRows(*preview_, {});
        return;
    }
    const auto previews = batch::PreviewRename(*compiled.pattern, batch_, context_.engine.codePage);
    std::vector<PreviewRow> rows;
    std::size_t refused = 0;
    for (std::size_t i = 0; i < batch_.size(); ++i) {
        const batch::RenamePreview& preview = previews[i];
        PreviewRow row{{ToQString(batch_[i]->Name()), ToQString(preview.newName)}, false};
        if (preview.refusal) {
            row.cells.push_back(ToQString(MessageText(*preview.refusal, u" ")));
            row.marked = true;
            ++refused;
        } else {
            row.cells.push_back(preview.changes ? QString() : tr("unchanged"));
        }
        rows.push_back(std::move(row));
    }
    ShowPreviewRows(*preview_, rows);
    problem_->setText(refused == 0
                          ? QString()
                          : tr("%n file(s) marked will keep their names.", "", int(refused)));
}

void RenameDialog::Rename() {
    const std::u16string expression = ToU16(expression_->text());
    // Only what the preview shows as possible; refused files keep their names.
    std::vector<Mp3File*> possible;
    if (const auto compiled = batch::CompileRenamePattern(expression); compiled.pattern) {
        const auto previews =
            batch::PreviewRename(*compiled.pattern, batch_, context_.engine.codePage);
        for (std::size_t i = 0; i < batch_.size(); ++i) {
            if (!previews[i].refusal)
                possible.push_back(batch_[i]);
        }
    }
    bool compiled = false;
    {
        ScopedMessageOwner owner(context_.messages, this);
        const std::vector<Mp3File*> candidates = possible;
        context_.journal.Apply(edit::kRenameAction, candidates, [&] {
            compiled = batch::RenameBatch(expression, possible, context_.settings, context_.engine);
        });
    }
    recent_->Add(expression_->text());
    if (!compiled)
        return;
    batch_ = std::move(possible);
    accept();
}

void RenameDialog::DeleteSelected() {
    const QString removed = recent_->TakeSelected();
    if (!removed.isEmpty())
        batch::ForgetRenameExpression(context_.settings, ToU16(removed));
}

}  // namespace velmora::ui
