#pragma once

#include <QString>
#include <QTimer>
#include <QWidget>
#include <vector>

#include "ui/panel/PanelLink.h"

class QAction;
class QLabel;
class QPushButton;
class QTabWidget;

namespace velmora::ui {

class PanelPage;
enum class WorkState;

// The editor below the file list: the pages "General ID3v2", "Comments", "Pictures" and
// "ID3v1" on the left, the buttons "Save All", "Remove ID3v1" and "Remove ID3v2" on the
// right. It follows the window's selection and the records' changes by itself; the window
// only tells it when the selection changed. Text typed but not applied is never dropped: it
// is written into the files it was typed for, as one undoable action, before the pages show
// anything else and whenever the workspace asks for it (save, load, the save question).
class TagEditorPanel : public QWidget {
    Q_OBJECT

  public:
    enum PageIndex { kGeneralPage = 0, kCommentsPage, kPicturesPage, kId3v1Page };

    // The removal buttons run the window's own removal commands.
    TagEditorPanel(Workspace& workspace, EngineContext& engine, UiMessageSink& messages,
                   FileChooser& chooser, PanelLink::SelectionSource selection, QAction* removeV1,
                   QAction* removeV2, QWidget* parent = nullptr);

    // The selection or the records changed: the typed edits are applied, then the shown page
    // reloads now, each other page when it is shown next.
    void Reload();
    // Writes every still current page's changed fields into the records the pages show, as
    // one undoable action, and shows the result.
    void SaveAll();
    // Some page holds typed text not applied yet.
    bool HasPendingEdits() const;

    // A large selection is being read into the shown page, in slices; the page is off until
    // it is done.
    bool Filling() const { return fill_.isActive(); }

    QTabWidget& Tabs() { return *tabs_; }
    PanelPage& Page(PageIndex index) { return *pages_[index]; }
    QPushButton& SaveAllButton() { return *saveAll_; }
    // Says which tags of the selection a save removes.
    QLabel& RemovalNote() { return *removalNote_; }

  private:
    void AddPage(PanelPage* page, const QString& caption);
    void ReloadAll();
    void ReloadShown();
    void MarkPendingTabs();
    // The shown page reads the selection: at once when small, else in slices.
    void FillShown(std::size_t shown, std::vector<Mp3File*> selection);
    void FillSlice();
    void StopFill();
    // Applies the typed edits to the records they were typed for; false when there were none.
    bool WritePending();
    QWidget* BuildButtons(QAction* removeV1, QAction* removeV2);

    Workspace& workspace_;
    PanelLink link_;
    QTabWidget* tabs_;
    QPushButton* saveAll_ = nullptr;
    QLabel* removalNote_ = nullptr;
    std::vector<PanelPage*> pages_;
    std::vector<QString> captions_;
    // Per page: it was reloaded for the present selection and records.
    std::vector<bool> current_;
    // The records the current pages were filled from.
    std::vector<Mp3File*> shownFor_;
    WorkState lastState_{};
    // The slices of a fill, the page and the records it reads, how far it has come, and
    // whether work on the records broke it off (it starts again once they are idle).
    QTimer fill_;
    std::size_t fillPage_ = 0;
    std::vector<Mp3File*> filling_;
    std::size_t filled_ = 0;
    bool fillBroken_ = false;
};

}  // namespace velmora::ui
