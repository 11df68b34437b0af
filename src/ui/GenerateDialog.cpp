#include "ui/GenerateDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "batch/GenerateCommand.h"
#include "batch/regex/RegexErrorText.h"
#include "common/Messages.h"
#include "edit/ActionNames.h"
#include "edit/EditJournal.h"
#include "tags/Mp3File.h"
#include "ui/PreviewTable.h"
#include "ui/QtText.h"
#include "ui/RecentExpressions.h"
#include "ui/UiMessageSink.h"

namespace velmora::ui {
namespace {

// Columns: the name, whether it matches, then one per group of the name-to-frame table.
constexpr int kFirstGroupColumn = 2;

}  // namespace

GenerateDialog::GenerateDialog(const std::vector<Mp3File*>& batch,
                               const BatchDialogContext& context, QWidget* parent)
    : QDialog(parent), batch_(batch), context_(context) {
    setWindowTitle(tr("Generate ID3"));
    auto* help = new QLabel(
        tr("Enter a regular expression, using named groups to describe where the captured data "
           "should be inserted.\nValid names: artist, album, title, year, track, genre"));
    help->setWordWrap(true);
    expression_ = new QLineEdit;
    recent_ = new RecentExpressions;
    auto* recentLabel = new QLabel(tr("Recent &Expressions"));
    recentLabel->setBuddy(recent_);
    QStringList titles = {tr("Name"), tr("Match")};
    for (const batch::GroupFrame& group : batch::kGroupFrames)
        titles << ToQString(group.group);
    preview_ = MakePreviewTable(titles);
    problem_ = new QLabel;
    problem_->setWordWrap(true);

    auto* buttons = new QDialogButtonBox;
    QPushButton* remove = buttons->addButton(tr("&Delete Selection"), QDialogButtonBox::ActionRole);
    QPushButton* generate = buttons->addButton(tr("&Generate ID3"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    generate->setDefault(true);
    connect(remove, &QPushButton::clicked, this, &GenerateDialog::DeleteSelection);
    connect(buttons, &QDialogButtonBox::accepted, this, &GenerateDialog::Generate);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(recent_, &RecentExpressions::chosen, expression_, &QLineEdit::setText);
    connect(expression_, &QLineEdit::textChanged, this, &GenerateDialog::UpdatePreview);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(help);
    layout->addWidget(expression_);
    layout->addWidget(recentLabel);
    layout->addWidget(recent_);
    layout->addWidget(preview_, 1);
    layout->addWidget(problem_);
    layout->addWidget(buttons);
    resize(720, 480);

    recent_->Show(batch::RecentGenerateExpressions(context_.settings));
    UpdatePreview();
}

void GenerateDialog::UpdatePreview() {
    const auto preview = batch::PreviewGenerate(ToU16(expression_->text()), batch_);
    if (preview.compileError) {
        problem_->setText(tr("The expression does not compile: %1")
                              .arg(ToQString(regex::RegexErrorMeaning(*preview.compileError))));
        ShowPreviewRows(*preview_, {});
        return;
    }
    std::vector<PreviewRow> rows;
    std::vector<bool> used(batch::kGroupFrames.size(), false);
    std::size_t unmatched = 0;
    for (std::size_t i = 0; i < batch_.size(); ++i) {
        PreviewRow row{{ToQString(batch_[i]->Name())}, false};
        const auto& captures = preview.captures[i];
        row.marked = !captures.has_value();
        row.cells << (row.marked ? tr("no match") : tr("yes"));
        for (std::size_t g = 0; g < batch::kGroupFrames.size(); ++g)
            row.cells << QString();
        for (const batch::CapturedField& field :
             captures.value_or(std::vector<batch::CapturedField>{})) {
            for (std::size_t g = 0; g < batch::kGroupFrames.size(); ++g) {
                if (batch::kGroupFrames[g].group == field.group) {
                    row.cells[kFirstGroupColumn + int(g)] = ToQString(field.text);
                    used[g] = true;
                }
            }
        }
        unmatched += row.marked ? 1 : 0;
        rows.push_back(std::move(row));
    }
    ShowPreviewRows(*preview_, rows);
    // Only the groups the expression has are shown.
    for (std::size_t g = 0; g < used.size(); ++g)
        preview_->setColumnHidden(kFirstGroupColumn + int(g), !used[g]);
    problem_->setText(unmatched == 0 ? QString()
                                     : tr("%n name(s) marked do not match and keep their fields.",
                                          "", int(unmatched)));
}

void GenerateDialog::Generate() {
    const std::u16string expression = ToU16(expression_->text());
    bool compiled = false;
    {
        ScopedMessageOwner owner(context_.messages, this);
        context_.journal.Apply(edit::kGenerateAction, batch_, [&] {
            compiled = batch::GenerateTagsFromNames(expression, batch_, context_.settings,
                                                    context_.engine);
        });
    }
    if (!compiled)
        return;
    recent_->Add(expression_->text());
    accept();
}

void GenerateDialog::DeleteSelection() {
    const QString removed = recent_->TakeSelected();
    if (!removed.isEmpty())
        batch::ForgetGenerateExpression(context_.settings, ToU16(removed));
}

}  // namespace velmora::ui
