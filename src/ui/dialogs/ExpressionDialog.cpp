#include "ui/dialogs/ExpressionDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "edit/EditJournal.h"
#include "ui/bridges/QtText.h"
#include "ui/bridges/UiMessageSink.h"
#include "ui/dialogs/RecentExpressions.h"

namespace velmora::ui {

ExpressionDialog::ExpressionDialog(const Kind& kind, const BatchDialogContext& context,
                                   QWidget* parent)
    : QDialog(parent),
      context_(context),
      forget_(kind.forget),
      expression_(new QLineEdit),
      recent_(new RecentExpressions),
      preview_(MakePreviewTable(kind.columns)),
      problem_(new QLabel) {
    setWindowTitle(kind.title);
    expression_->setObjectName(QStringLiteral("expression"));
    preview_->setObjectName(QStringLiteral("preview"));
    problem_->setObjectName(QStringLiteral("problem"));
    auto* help = new QLabel(kind.help);
    help->setWordWrap(true);
    auto* recentLabel = new QLabel(tr("Recent &Expressions"));
    recentLabel->setBuddy(recent_);
    problem_->setWordWrap(true);
    // Filled before the signals are connected: the subclass cannot preview yet.
    recent_->Show(kind.recent);
    expression_->setText(kind.expression);
    expression_->selectAll();

    auto* buttons = new QDialogButtonBox;
    QPushButton* remove = buttons->addButton(kind.deleteButton, QDialogButtonBox::ActionRole);
    QPushButton* run = buttons->addButton(kind.runButton, QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    run->setDefault(true);
    connect(remove, &QPushButton::clicked, this, &ExpressionDialog::DeleteSelected);
    connect(buttons, &QDialogButtonBox::accepted, this, &ExpressionDialog::Run);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(recent_, &RecentExpressions::chosen, expression_, &QLineEdit::setText);
    connect(expression_, &QLineEdit::textChanged, this, &ExpressionDialog::UpdatePreview);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(help);
    layout->addWidget(expression_);
    layout->addWidget(recentLabel);
    layout->addWidget(recent_);
    layout->addWidget(preview_, 1);
    layout->addWidget(problem_);
    layout->addWidget(buttons);
}

void ExpressionDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!previewed_) {
        previewed_ = true;
        UpdatePreview();
    }
}

std::u16string ExpressionDialog::ExpressionText() const {
    return ToU16(expression_->text());
}

void ExpressionDialog::ShowPreview(const std::vector<PreviewRow>& rows, const QString& problem) {
    ShowPreviewRows(*preview_, rows);
    problem_->setText(problem);
}

bool ExpressionDialog::ApplyAsAction(std::u16string name, std::span<Mp3File* const> batch,
                                     const std::function<bool()>& change) {
    bool result = false;
    ScopedMessageOwner owner(context_.messages, this);
    context_.journal.Apply(std::move(name), batch, [&] { result = change(); });
    return result;
}

void ExpressionDialog::Remember() {
    recent_->Add(expression_->text());
}

void ExpressionDialog::DeleteSelected() {
    const QString removed = recent_->TakeSelected();
    if (!removed.isEmpty())
        forget_(context_.settings, ToU16(removed));
}

}  // namespace velmora::ui
