#pragma once

#include <vector>

#include "ui/dialogs/ExpressionDialog.h"

namespace velmora::ui {

// The "Generate ID3" dialog: a regular expression whose named groups fill ID3v2 fields from
// each file's name, the recent expressions, and a preview of what each group captures per
// file, with the names that do not match marked and, for an expression that does not
// compile, what is wrong with it. "Generate ID3" fills the fields as one undoable action.
class GenerateDialog : public ExpressionDialog {
    Q_OBJECT

  public:
    GenerateDialog(const std::vector<Mp3File*>& batch, const BatchDialogContext& context,
                   QWidget* parent = nullptr);

  private:
    void UpdatePreview() override;
    void Run() override;

    const std::vector<Mp3File*>& batch_;
};

}  // namespace velmora::ui
