#pragma once

#include <QDialog>
#include <vector>

#include "ui/BatchDialogContext.h"

class QLabel;
class QLineEdit;
class QTableWidget;

namespace velmora {
class Mp3File;
}

namespace velmora::ui {

class RecentExpressions;

// The "Generate ID3" dialog: a regular expression whose named groups fill ID3v2 fields from
// each file's name, the recent expressions, and a preview of what each group captures per
// file, with the names that do not match marked and, for an expression that does not
// compile, what is wrong with it. "Generate ID3" fills the fields as one undoable action.
class GenerateDialog : public QDialog {
    Q_OBJECT

  public:
    GenerateDialog(const std::vector<Mp3File*>& batch, const BatchDialogContext& context,
                   QWidget* parent = nullptr);

    QLineEdit& Expression() { return *expression_; }
    QTableWidget& Preview() { return *preview_; }
    QLabel& Problem() { return *problem_; }

  private:
    void UpdatePreview();
    void Generate();
    void DeleteSelection();

    const std::vector<Mp3File*>& batch_;
    BatchDialogContext context_;
    QLineEdit* expression_;
    RecentExpressions* recent_;
    QTableWidget* preview_;
    QLabel* problem_;
};

}  // namespace velmora::ui
