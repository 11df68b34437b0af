#pragma once

#include <QWidget>
#include <vector>

#include "ui/PanelLink.h"

class QAction;
class QPushButton;
class QTabWidget;

namespace velmora::ui {

class PanelPage;

// The editor below the file list: the pages "General ID3v2", "Comments", "Pictures" and
// "ID3v1" on the left, the buttons "Save All", "Remove ID3v1" and "Remove ID3v2" on the
// right. It follows the window's selection and the records' changes by itself; the window
// only tells it when the selection changed.
class TagEditorPanel : public QWidget {
    Q_OBJECT

  public:
    enum PageIndex { kGeneralPage = 0, kCommentsPage, kPicturesPage, kId3v1Page };

    // The removal buttons run the window's own removal commands.
    TagEditorPanel(Workspace& workspace, EngineContext& engine, UiMessageSink& messages,
                   PanelLink::SelectionSource selection, QAction* removeV1, QAction* removeV2,
                   QWidget* parent = nullptr);

    // The selection or the records changed: the shown page reloads now, each other page when
    // it is shown next (until then its edits take no part in "Save All").
    void Reload();
    // Writes every shown or still current page's changed fields into all selected records,
    // as one undoable action.
    void SaveAll();

    QTabWidget& Tabs() { return *tabs_; }
    PanelPage& Page(PageIndex index) { return *pages_[index]; }
    QPushButton& SaveAllButton() { return *saveAll_; }

  private:
    void AddPage(PanelPage* page, const QString& caption);
    void ReloadShown();
    QWidget* BuildButtons(QAction* removeV1, QAction* removeV2);

    Workspace& workspace_;
    PanelLink link_;
    QTabWidget* tabs_;
    QPushButton* saveAll_ = nullptr;
    std::vector<PanelPage*> pages_;
    // Per page: it was reloaded for the present selection and records.
    std::vector<bool> current_;
};

}  // namespace velmora::ui
