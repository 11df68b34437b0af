#include "ui/dialogs/GenerateDialog.h"

#include <QTableWidget>

#include "batch/GenerateCommand.h"
#include "batch/regex/RegexErrorText.h"
#include "edit/ActionNames.h"
#include "tags/record/Mp3File.h"
#include "ui/bridges/QtText.h"

namespace velmora::ui {
namespace {

// Columns: the name, whether it matches, then one per group of the name-to-frame table.
constexpr int kFirstGroupColumn = 2;

QStringList Columns() {
    QStringList titles = {GenerateDialog::tr("Name"), GenerateDialog::tr("Match")};
    for (const batch::GroupFrame& group : batch::kGroupFrames)
        titles << ToQString(group.group);
    return titles;
}

}  // namespace

GenerateDialog::GenerateDialog(const std::vector<Mp3File*>& batch,
                               const BatchDialogContext& context, QWidget* parent)
    : ExpressionDialog(
          {tr("Generate ID3"),
           tr("Enter a regular expression, using named groups to describe where the captured "
              "data should be inserted.\nValid names: artist, album, title, year, track, genre\n"
              "A named group is written (?P<name>...), for example "
              "(?P<artist>.*) - (?P<title>.*)\\.mp3"),
           Columns(), tr("&Delete Selection"), tr("&Generate ID3"), batch::ForgetGenerateExpression,
           batch::RecentGenerateExpressions(context.settings), QString()},
          context, parent),
      batch_(batch) {
    resize(720, 480);
}

void GenerateDialog::UpdatePreview() {
    const auto preview = batch::PreviewGenerate(ExpressionText(), batch_, context_.engine.codePage);
    if (preview.compileError) {
        ShowPreview({}, tr("The expression does not compile: %1")
                            .arg(ToQString(regex::RegexErrorMeaning(*preview.compileError))));
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
    ShowPreview(rows, unmatched == 0 ? QString()
                                     : tr("%n name(s) marked do not match and keep their fields.",
                                          "", int(unmatched)));
    // Only the groups the expression has are shown.
    for (std::size_t g = 0; g < used.size(); ++g)
        Preview().setColumnHidden(kFirstGroupColumn + int(g), !used[g]);
}

void GenerateDialog::Run() {
    const std::u16string expression = ExpressionText();
    if (!ApplyAsAction(edit::kGenerateAction, batch_, [&] {
            return batch::GenerateTagsFromNames(expression, batch_, context_.settings,
                                                context_.engine);
        }))
        return;
    Remember();
    accept();
}

}  // namespace velmora::ui
