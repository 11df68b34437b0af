#pragma once

#include <QLineEdit>

#include "edit/CommonValue.h"

namespace velmora::ui {

// A one-line field of the editor: it knows whether the user changed it, shows typed text
// that is not applied yet as pending, and over several files it paints "(empty)" or
// "(multiple)" in place of its text until the user types. Escape puts back what the last
// Reload set. Undo and Redo keys first take back the field's own typing; with none left they
// go to the window, which takes back whole edits of the files.
class FieldEdit : public QLineEdit {
    Q_OBJECT

  public:
    explicit FieldEdit(QWidget* parent = nullptr);

    // A programmatic set: the text and how it shows; clears changed.
    void Reload(const edit::CommonText& value);
    void Reload(const QString& text, edit::Shown shown);
    bool Changed() const { return changed_; }
    edit::Shown State() const { return shown_; }
    // The overlay shown instead of the text; empty when the text shows.
    QString Overlay() const;
    // The text when the user changed it.
    std::optional<std::u16string> Edit() const;
    // Back to what the last Reload set.
    void Revert();

  protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    // Typing undone back to what Reload set is no change.
    void UpdateChanged();

    bool changed_ = false;
    edit::Shown shown_ = edit::Shown::Normal;
    QString loadedText_;
    edit::Shown loadedShown_ = edit::Shown::Normal;
};

}  // namespace velmora::ui
