#pragma once

#include <array>
#include <functional>

#include "edit/TagEdits.h"
#include "ui/PanelPage.h"

class QComboBox;
class QPushButton;

namespace velmora::ui {

class FieldEdit;

// "General ID3v2": the common text frames of the selected files, the genre box, and the
// buttons "Copy from ID3v1", "Capitalize" and "Convert _ to Space".
class GeneralPage : public PanelPage {
    Q_OBJECT

  public:
    explicit GeneralPage(const PanelLink& link, QWidget* parent = nullptr);

    void Reload(std::span<Mp3File* const> selection) override;
    void WriteEdits(std::span<Mp3File* const> selection) override;

    FieldEdit& Field(edit::V2Field field) { return *fields_[std::size_t(field)]; }
    QComboBox& Genre() { return *genre_; }
    bool GenreChanged() const { return genreChanged_; }

  private:
    QWidget* BuildFields();
    QWidget* BuildButtons();
    // A button's command: each selected record in turn as one action, then a reload.
    void RunOnEach(std::u16string name, const std::function<void(Mp3File&)>& change);

    std::array<FieldEdit*, edit::kV2FieldCount> fields_{};
    QComboBox* genre_ = nullptr;
    // The user picked a genre or typed in the box since the last reload.
    bool genreChanged_ = false;
};

}  // namespace velmora::ui
