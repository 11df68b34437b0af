#pragma once

#include <QComboBox>

namespace velmora::ui {

// A page's genre list. It knows what the last reload showed: picking an entry or typing
// marks it changed (and shows it pending), and Escape puts back what was shown, as in the
// text fields.
class GenreBox final : public QComboBox {
    Q_OBJECT

  public:
    explicit GenreBox(bool editable, QWidget* parent = nullptr);

    // Shows a reloaded value: entry `index`, or none (-1) with `text` in an editable box.
    void ShowLoaded(int index, const QString& text = {});
    // The user picked an entry or typed since the last reload.
    bool Changed() const { return changed_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Revert();
    void SetChanged(bool changed);

    int loadedIndex_ = -1;
    QString loadedText_;
    bool changed_ = false;
};

}  // namespace velmora::ui
