#include "ui/dialogs/RenameDialog.h"

#include <QLineEdit>

#include "batch/RenameCommand.h"
#include "common/Messages.h"
#include "edit/ActionNames.h"
#include "tags/record/EngineContext.h"
#include "tags/record/Mp3File.h"
#include "ui/bridges/CoreWords.h"
#include "ui/bridges/QtText.h"

namespace velmora::ui {

ExpressionDialog::Kind RenameDialog::MakeKind(SettingsKey& settings) {
    std::vector<std::u16string> recent = batch::RecentRenameExpressions(settings);
    // The expression used last is the likeliest next one (the list is never empty).
    const QString last = ToQString(recent.back());
    return {tr("Rename"),
            tr("Enter any text and/or variables.\n\nValid variables:\n"
               "%artist, %album, %title, %track, %year, %genre"),
            {tr("Name"), tr("New Name"), tr("Note")},
            tr("&Delete Selected"),
            tr("&Rename"),
            batch::ForgetRenameExpression,
            std::move(recent),
            last};
}

RenameDialog::RenameDialog(const std::vector<Mp3File*>& batch, const BatchDialogContext& context,
                           QWidget* parent)
    : ExpressionDialog(MakeKind(context.settings), context, parent), batch_(batch) {
    resize(640, 480);
}

void RenameDialog::UpdatePreview() {
    // Nothing typed yet is no name to refuse.
    if (ExpressionText().empty()) {
        ShowPreview({}, QString());
        return;
    }
    const auto compiled = batch::CompileRenamePattern(ExpressionText());
    if (!compiled.pattern) {
        ShowPreview({}, MessageWords(ErrorMessage(MessageKind::UnrecognizedField, {}, {},
                                                  compiled.unrecognizedField),
                                     QStringLiteral(" ")));
        return;
    }
    const auto previews = batch::PreviewRename(*compiled.pattern, batch_, context_.engine.codePage);
    std::vector<PreviewRow> rows;
    std::size_t refused = 0;
    for (std::size_t i = 0; i < batch_.size(); ++i) {
        const batch::RenamePreview& preview = previews[i];
        PreviewRow row{{ToQString(batch_[i]->Name()), ToQString(preview.newName)}, false};
        if (preview.refusal) {
            row.cells.push_back(MessageWords(*preview.refusal, QStringLiteral(" ")));
            row.marked = true;
            ++refused;
        } else {
            row.cells.push_back(preview.changes ? QString() : tr("unchanged"));
        }
        rows.push_back(std::move(row));
    }
    ShowPreview(rows, refused == 0
                          ? QString()
                          : tr("%n file(s) marked will keep their names.", "", int(refused)));
}

void RenameDialog::Run() {
    const std::u16string expression = ExpressionText();
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
    const std::vector<Mp3File*> candidates = possible;
    const bool compiled = ApplyAsAction(edit::kRenameAction, candidates, [&] {
        return batch::RenameBatch(expression, possible, context_.settings, context_.engine);
    });
    Remember();
    if (!compiled)
        return;
    renamed_ = std::move(possible);
    accept();
}

}  // namespace velmora::ui
