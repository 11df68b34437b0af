#pragma once

#include "ui/panel/ListPage.h"

class QTreeWidget;

namespace velmora::ui {

// "Comments": the comments every selected file holds alike, and the commands over them.
class CommentsPage : public ListPage {
    Q_OBJECT

  public:
    explicit CommentsPage(const PanelLink& link, QWidget* parent = nullptr);

    QTreeWidget* List() const { return list_; }

  private:
    // A row's key is its short description and language bytes (see KeyOf).
    void Fill(std::span<Mp3File* const> selection) override;
    void Open(const QVariant& key) override;
    void DeleteRow(const QVariant& key) override;
    void DeleteAllRows() override;

    QTreeWidget* list_;
};

}  // namespace velmora::ui
