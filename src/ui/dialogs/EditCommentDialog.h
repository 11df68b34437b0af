#pragma once

#include <QDialog>
#include <optional>

#include "edit/CommentEdits.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

namespace velmora::ui {

class PanelLink;

// "Edit Comment": the first selected file's comment with the key (description and
// language), or for a new one its comment with the empty description, applied on OK to every
// selected file as one undoable action. A language left as shown keeps the comment's bytes.
class EditCommentDialog : public QDialog {
    Q_OBJECT

  public:
    EditCommentDialog(const PanelLink& link, const std::optional<edit::CommentKey>& key,
                      QWidget* parent = nullptr);

    QLineEdit* ShortDescription() const { return shortDescription_; }
    QComboBox* Language() const { return language_; }
    QPlainTextEdit* Description() const { return description_; }

    void accept() override;

  private:
    const PanelLink& link_;
    // The comment shown; its language stays unless the user picks another.
    std::optional<edit::CommentKey> opened_;
    QString shownLanguage_;
    QLineEdit* shortDescription_;
    QComboBox* language_;
    QPlainTextEdit* description_;
};

}  // namespace velmora::ui
