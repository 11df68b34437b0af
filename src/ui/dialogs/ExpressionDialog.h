#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/dialogs/BatchDialogContext.h"
#include "ui/dialogs/PreviewTable.h"

class QLabel;
class QLineEdit;
class QTableWidget;

namespace velmora {
class Mp3File;
}

namespace velmora::ui {

class RecentExpressions;

// What the Rename and "Generate ID3" dialogs share: a help text, the expression, the recent
// expressions (choosing one fills the expression; the delete button forgets the selected
// one), a preview that follows the expression, a line saying what is wrong, and the command.
class ExpressionDialog : public QDialog {
    Q_OBJECT

  protected:
    // The captions of one dialog, its recent expressions (oldest first), the expression it
    // opens with, and how it forgets a recent expression.
    struct Kind {
        QString title;
        QString help;
        QStringList columns;
        QString deleteButton;
        QString runButton;
        void (*forget)(SettingsKey& settings, std::u16string_view expression);
        std::vector<std::u16string> recent;
        QString expression;
    };

    ExpressionDialog(const Kind& kind, const BatchDialogContext& context, QWidget* parent);

    // The first preview waits for the dialog to show, when the subclass is whole.
    void showEvent(QShowEvent* event) override;
    virtual void UpdatePreview() = 0;
    // The command button: applies the expression.
    virtual void Run() = 0;

    std::u16string ExpressionText() const;
    QTableWidget& Preview() { return *preview_; }
    // A preview of the rows (none: the expression cannot be applied) and what is wrong.
    void ShowPreview(const std::vector<PreviewRow>& rows, const QString& problem);
    // `change` over `batch` as one undoable action; its message boxes belong to the dialog.
    // Returns what `change` returns.
    bool ApplyAsAction(std::u16string name, std::span<Mp3File* const> batch,
                       const std::function<bool()>& change);
    // The expression goes to the top of the recent list.
    void Remember();

    BatchDialogContext context_;

  private:
    void DeleteSelected();

    void (*forget_)(SettingsKey& settings, std::u16string_view expression);
    QLineEdit* expression_;
    RecentExpressions* recent_;
    QTableWidget* preview_;
    QLabel* problem_;
    bool previewed_ = false;
};

}  // namespace velmora::ui
