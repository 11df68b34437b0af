#pragma once

#include <functional>
#include <string>

#include "ui/PanelPage.h"

class QAbstractItemView;
class QPushButton;

namespace velmora::ui {

// A page that lists what every selected file holds alike, with the commands beside the
// list: "Add" (also Insert on the list), "Edit" (also Enter on a row), "Delete" (also the
// Delete key) and "Delete All". Add and Delete All need a selection; Edit and Delete a row.
class ListPage : public PanelPage {
    Q_OBJECT

  public:
    using PanelPage::PanelPage;

    void Reload(std::span<Mp3File* const> selection) final;

  protected:
    // Lays out the list with the buttons; called once by the subclass's constructor.
    void SetList(QAbstractItemView* list);
    // Empties the list and fills it from the selection.
    virtual void Fill(std::span<Mp3File* const> selection) = 0;
    virtual void Add() = 0;
    virtual void Edit() = 0;
    virtual void Delete() = 0;
    virtual void DeleteAll() = 0;
    // `change` on each selected record as one action named `name`, then the list anew.
    void ApplyToEachAndReload(std::u16string name, const std::function<void(Mp3File&)>& change);
    void ReloadSelection();

  private:
    void UpdateButtons();

    QAbstractItemView* list_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* edit_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* deleteAll_ = nullptr;
    bool anySelected_ = false;
};

}  // namespace velmora::ui
