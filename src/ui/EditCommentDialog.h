#pragma once

#include <QDialog>
#include <string>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

namespace velmora::ui {

class PanelLink;

// "Edit Comment": the first selected file's comment with the short description, applied on
// OK to every selected file as one undoable action.
class EditCommentDialog : public QDialog {
    Q_OBJECT

  public:
    EditCommentDialog(const PanelLink& link, const std::u16string& description,
                      QWidget* parent = nullptr);

    QLineEdit* ShortDescription() const { return shortDescription_; }
    QComboBox* Language() const { return language_; }
    QPlainTextEdit* Description() const { return description_; }

    void accept() override;

  private:
    const PanelLink& link_;
    QLineEdit* shortDescription_;
    QComboBox* language_;
    QPlainTextEdit* description_;
};

}  // namespace velmora::ui
