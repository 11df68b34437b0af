#pragma once

#include <array>
#include <optional>

#include "edit/CommonValue.h"
#include "edit/TagEdits.h"
#include "tags/id3v1/Id3v1Tag.h"
#include "ui/panel/GenreBox.h"
#include "ui/panel/PanelPage.h"

namespace velmora::ui {

class FieldEdit;

// "ID3v1": the six fields of the selected files' ID3v1 tags, within what the tag holds, and
// the genre list, whose "(unchanged)" leaves each file's genre as it is.
class Id3v1Page : public PanelPage {
    Q_OBJECT

  public:
    explicit Id3v1Page(const PanelLink& link, QWidget* parent = nullptr);

    void Reload(std::span<Mp3File* const> selection) override;
    void StartFill() override;
    bool FillPart(std::span<Mp3File* const> part) override { return common_->Add(part); }
    void EndFill() override;
    void WriteEdits(std::span<Mp3File* const> selection) override;
    bool HasEdits() const override { return Edits().Any(); }

    FieldEdit& Text(std::size_t index) { return *texts_.at(index); }
    FieldEdit& Track() { return *track_; }
    GenreBox& Genre() { return *genre_; }

  private:
    edit::V1Edits Edits() const;
    void FitCommentToTrack();

    std::array<FieldEdit*, Id3v1Tag::kTextCount> texts_{};
    FieldEdit* track_ = nullptr;
    GenreBox* genre_ = nullptr;
    // The texts, then the track and the genre byte, while a fill runs.
    std::optional<edit::CommonValuesInParts> common_;
};

}  // namespace velmora::ui
