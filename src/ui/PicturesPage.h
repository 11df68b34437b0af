#pragma once

#include <optional>

#include "edit/PictureEdits.h"
#include "ui/PanelPage.h"
#include "ui/PictureViewer.h"
#include "ui/ThumbnailCache.h"

class QListWidget;
class QMimeData;
class QPushButton;

namespace velmora::ui {

// "Pictures": thumbnails of the pictures every selected file holds alike, the commands over
// them, and an image file dropped or pasted (Ctrl+V) added as every selected file's front
// cover. Picture data are read from the files only for the selection's thumbnails.
class PicturesPage : public PanelPage {
    Q_OBJECT

  public:
    explicit PicturesPage(const PanelLink& link, QWidget* parent = nullptr);

    void Reload(std::span<Mp3File* const> selection) override;
    QListWidget* List() const { return list_; }
    const ThumbnailCache& Thumbnails() const { return thumbnails_; }
    // Adds the picture the data carry (file URLs or JPEG or PNG bytes) as the front cover;
    // false when they carry none.
    bool AddFrom(const QMimeData& mime);

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void UpdateButtons();
    void OpenDialog(std::uint8_t type);
    void Edit();
    void Delete();
    void DeleteAll();
    void Paste();
    std::optional<std::uint8_t> SelectedType() const;
    QPixmap ThumbnailOf(const Mp3File& record, const Id3v2Frame& picture);

    QListWidget* list_;
    QPushButton* add_;
    QPushButton* edit_;
    QPushButton* delete_;
    QPushButton* deleteAll_;
    bool anySelected_ = false;
    ThumbnailCache thumbnails_;
    PictureViewer viewer_;
};

}  // namespace velmora::ui
