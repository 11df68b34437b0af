#pragma once

#include <optional>

#include "ui/panel/PanelPage.h"

class QAbstractItemView;
class QPushButton;
class QVariant;

namespace velmora::ui {

// A page that lists what every selected file holds alike, with the commands beside the
// list: "Add" (also Insert on the list), "Edit" (also Enter on a row), "Delete" (also the
// Delete key) and "Delete All"; the list is shown anew after each. Add and Delete All need a
// selection; Edit and Delete a row.
class ListPage : public PanelPage {
    Q_OBJECT

  public:
    using PanelPage::PanelPage;

    void Reload(std::span<Mp3File* const> selection) final;

  protected:
    // Each row keeps what it stands for, its key, under this role of its first column.
    static constexpr int kKeyRole = Qt::UserRole;

    // Lays out the list with the buttons; called once by the subclass's constructor.
    void SetList(QAbstractItemView* list);
    // Empties the list and fills it from the selection.
    virtual void Fill(std::span<Mp3File* const> selection) = 0;
    // The dialog over the row with the key; a null key for a new row.
    virtual void Open(const QVariant& key) = 0;
    // Changes of the selected records, each one action.
    virtual void DeleteRow(const QVariant& key) = 0;
    virtual void DeleteAllRows() = 0;
    void ReloadSelection();

  private:
    std::optional<QVariant> SelectedKey() const;
    void UpdateButtons();

    QAbstractItemView* list_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* edit_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* deleteAll_ = nullptr;
    bool anySelected_ = false;
};

}  // namespace velmora::ui
