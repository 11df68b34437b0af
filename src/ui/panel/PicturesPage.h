#pragma once

#include "edit/PictureEdits.h"
#include "ui/bridges/ThumbnailCache.h"
#include "ui/dialogs/PictureViewer.h"
#include "ui/panel/ListPage.h"

class QListWidget;
class QMimeData;

namespace velmora::ui {

// "Pictures": thumbnails of the pictures every selected file holds alike, the commands over
// them, and an image file dropped or pasted (Ctrl+V) added as every selected file's front
// cover. Picture data are read from the files only for the selection's thumbnails.
class PicturesPage : public ListPage {
    Q_OBJECT

  public:
    explicit PicturesPage(const PanelLink& link, QWidget* parent = nullptr);

    QListWidget* List() const { return list_; }
    const ThumbnailCache& Thumbnails() const { return thumbnails_; }
    // Adds the picture the data carry (file URLs or JPEG or PNG bytes) as the front cover;
    // false when they carry none.
    bool AddFrom(const QMimeData& mime);

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // An item's key is its picture type.
    void Fill(std::span<Mp3File* const> selection) override;
    void Open(const QVariant& key) override;
    void DeleteRow(const QVariant& key) override;
    void DeleteAllRows() override;
    void Paste();
    QPixmap ThumbnailOf(const Mp3File& record, const Id3v2Frame& picture);

    QListWidget* list_;
    ThumbnailCache thumbnails_;
    PictureViewer viewer_;
};

}  // namespace velmora::ui
