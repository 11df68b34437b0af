#pragma once

#include <array>
#include <functional>
#include <optional>

#include "edit/CommonValue.h"
#include "edit/TagEdits.h"
#include "ui/panel/GenreBox.h"
#include "ui/panel/PanelPage.h"

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
    void StartFill() override;
    bool FillPart(std::span<Mp3File* const> part) override { return common_->Add(part); }
    void EndFill() override;
    bool ReloadAsEvery() override;
    void WriteEdits(std::span<Mp3File* const> selection) override;
    bool HasEdits() const override { return Edits().Any(); }

    FieldEdit& Field(edit::V2Field field) { return *fields_[std::size_t(field)]; }
    GenreBox& Genre() { return *genre_; }

  private:
    // Shows the common values of the shown texts (edit::V2ShownText), dropping typed edits.
    void Show(const std::vector<edit::CommonText>& common);
    edit::V2Edits Edits() const;
    QWidget* BuildFields();
    QWidget* BuildButtons();
    // A button's command: each selected record in turn as one action, then a reload.
    void RunOnEach(std::u16string name, const std::function<void(Mp3File&)>& change);

    std::array<FieldEdit*, edit::kV2FieldCount> fields_{};
    GenreBox* genre_ = nullptr;
    // The shown texts while a fill runs.
    std::optional<edit::CommonValuesInParts> common_;
};

}  // namespace velmora::ui
