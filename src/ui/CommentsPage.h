#pragma once

#include <optional>
#include <string>

#include "ui/ListPage.h"

class QTreeWidget;

namespace velmora::ui {

// "Comments": the comments every selected file holds alike, and the commands over them.
class CommentsPage : public ListPage {
    Q_OBJECT

  public:
    explicit CommentsPage(const PanelLink& link, QWidget* parent = nullptr);

    QTreeWidget* List() const { return list_; }

  private:
    void Fill(std::span<Mp3File* const> selection) override;
    void Add() override;
    void Edit() override;
    void Delete() override;
    void DeleteAll() override;
    void OpenDialog(const std::u16string& description);
    // The short description of the selected row; none without one.
    std::optional<std::u16string> SelectedDescription() const;

    QTreeWidget* list_;
};

}  // namespace velmora::ui
