#pragma once

#include <QWidget>
#include <span>
#include <vector>

#include "ui/panel/PanelLink.h"

namespace velmora::ui {

// One page of the editor panel. The panel calls Reload when the page is shown and, while it
// is shown, after every change of the selection or of the records. Before such a reload the
// panel writes what the user typed into the records it was typed for; a page hidden since it
// was filled for another selection takes no part until it is shown again, so edits typed for
// one selection never reach another.
class PanelPage : public QWidget {
    Q_OBJECT

  public:
    explicit PanelPage(const PanelLink& link, QWidget* parent = nullptr);

    // Fills the page from the selected records, in view order (none: the page empties).
    // Discards the user's unapplied edits.
    virtual void Reload(std::span<Mp3File* const> selection) = 0;
    // Reload in parts, so that a large selection is read in slices: StartFill, FillPart with
    // each part in order (false once the parts left would change nothing), then EndFill. A
    // page that cannot read in parts gathers them and reloads at the end.
    virtual void StartFill() { gathered_.clear(); }
    virtual bool FillPart(std::span<Mp3File* const> part);
    virtual void EndFill();
    // The selection is every loaded record: fills the page, as Reload would, from what the
    // window keeps of all of them without reading them; false when it keeps too little.
    virtual bool ReloadAsEvery() { return false; }
    // "Save All": writes the fields the user changed into each record. Called inside the
    // panel's one journal action over the selection, so it changes the records directly.
    virtual void WriteEdits(std::span<Mp3File* const> selection);
    // The user typed or picked something that WriteEdits would write.
    virtual bool HasEdits() const { return false; }

  signals:
    // The user asked for "Save All" from within the page (Enter in a field).
    void saveAllWanted();

  protected:
    const PanelLink& Link() const { return link_; }

  private:
    const PanelLink& link_;
    std::vector<Mp3File*> gathered_;
};

}  // namespace velmora::ui
