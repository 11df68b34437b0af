#pragma once

#include <QList>
#include <QObject>
#include <memory>
#include <vector>

#include "text/CodePage.h"

class QAction;
class QWidget;

namespace velmora {
class Exporter;
class Mp3File;
}  // namespace velmora

namespace velmora::ui {

class FileListView;
class UiEnvironment;
class Workspace;

// The File menu's "Export" submenu: playlists (M3U, M3U8, PLS), XML and CSV of what the list
// shows, in its order: the selected rows or, with none selected, every row the filter shows.
class ExportCommands : public QObject {
    Q_OBJECT

  public:
    ExportCommands(Workspace& workspace, FileListView& view, UiEnvironment& environment,
                   QWidget* window);

    QList<QAction*> Actions() const { return {m3u_, m3u8_, pls_, xml_, csv_}; }

  private:
    void Run(Exporter& exporter);
    void ExportXml();
    std::vector<const Mp3File*> Exported() const;
    void UpdateActions();

    Workspace& workspace_;
    FileListView& view_;
    UiEnvironment& environment_;
    QWidget* window_;
    // The text of playlists is in the locale's encoding; the code page setting is for tags.
    std::unique_ptr<text::CodePage> playlistText_;
    QAction* m3u_;
    QAction* m3u8_;
    QAction* pls_;
    QAction* xml_;
    QAction* csv_;
};

}  // namespace velmora::ui
