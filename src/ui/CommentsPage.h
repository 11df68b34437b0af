#pragma once

#include <optional>
#include <string>

#include "ui/PanelPage.h"

class QPushButton;
class QTreeWidget;

namespace velmora::ui {

// "Comments": the comments every selected file holds alike, and the commands over them.
class CommentsPage : public PanelPage {
    Q_OBJECT

  public:
    explicit CommentsPage(const PanelLink& link, QWidget* parent = nullptr);

    void Reload(std::span<Mp3File* const> selection) override;
    QTreeWidget* List() const { return list_; }

  private:
    void UpdateButtons();
    void OpenDialog(const std::u16string& description);
    void Edit();
    void Delete();
    void DeleteAll();
    // The short description of the selected row; none without one.
    std::optional<std::u16string> SelectedDescription() const;

    QTreeWidget* list_;
    QPushButton* add_;
    QPushButton* edit_;
    QPushButton* delete_;
    QPushButton* deleteAll_;
    bool anySelected_ = false;
};

}  // namespace velmora::ui
