#pragma once

#include <QDialog>
#include <cstdint>
#include <optional>

#include "edit/PictureEdits.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace velmora::ui {

class PanelLink;
class PictureFrame;
class PictureViewer;

// "Edit Picture Tag": the first selected file's picture of the type, applied on OK to every
// selected file as one undoable action.
class EditPictureDialog : public QDialog {
    Q_OBJECT

  public:
    EditPictureDialog(const PanelLink& link, std::uint8_t pictureType, PictureViewer& viewer,
                      QWidget* parent = nullptr);

    // The picture data held, if any, with their subtype.
    const std::optional<edit::HeldPicture>& Held() const { return held_; }
    PictureFrame* Frame() const { return frame_; }
    QLabel* SizeText() const { return size_; }

    void accept() override;

  private:
    void SetPicture(std::optional<edit::HeldPicture> picture);
    void Browse();
    void SavePicture();
    void OpenInViewer();

    const PanelLink& link_;
    std::uint8_t pictureType_;
    PictureViewer& viewer_;
    std::optional<edit::HeldPicture> held_;
    PictureFrame* frame_;
    QLabel* size_;
    QLineEdit* description_;
    QComboBox* type_;
};

}  // namespace velmora::ui
