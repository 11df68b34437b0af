#include "ui/commands/ExportCommands.h"

#include <QAction>
#include <QWidget>

#include "export/CsvExporter.h"
#include "export/ExportedFileOfRecord.h"
#include "export/M3uExporter.h"
#include "export/PlsExporter.h"
#include "export/XmlExporter.h"
#include "text/LocaleCodePage.h"
#include "ui/app/Actions.h"
#include "ui/app/UiEnvironment.h"
#include "ui/app/Workspace.h"
#include "ui/bridges/QtText.h"
#include "ui/dialogs/SaveDialogTarget.h"
#include "ui/dialogs/XmlExportDialog.h"
#include "ui/list/FileListView.h"

namespace velmora::ui {

ExportCommands::ExportCommands(Workspace& workspace, FileListView& view, UiEnvironment& environment,
                               QWidget* window)
    : QObject(window),
      workspace_(workspace),
      view_(view),
      environment_(environment),
      window_(window),
      playlistText_(text::LocaleCodePage()),
      m3u_(MakeAction(this, tr("Playlist (&M3U)..."), tr("Export a playlist in M3U format"))),
      m3u8_(MakeAction(this, tr("Playlist (M3U&8)..."),
                       tr("Export a playlist in M3U8 format (UTF-8 text)"))),
      pls_(MakeAction(this, tr("Playlist (&PLS)..."), tr("Export a playlist in PLS format"))),
      xml_(MakeAction(this, tr("&XML..."), tr("Export an XML file with user defined structure"))),
      csv_(MakeAction(this, tr("&CSV..."),
                      tr("Export the files' cells as a table for a spreadsheet"))) {
    const text::CodePage& codePage = *playlistText_;
    connect(m3u_, &QAction::triggered, this, [this, &codePage] {
        M3uExporter exporter(codePage);
        Run(exporter);
    });
    connect(m3u8_, &QAction::triggered, this, [this, &codePage] {
        M3uExporter exporter(codePage, PlaylistEncoding::Utf8);
        Run(exporter);
    });
    connect(pls_, &QAction::triggered, this, [this, &codePage] {
        PlsExporter exporter(codePage);
        Run(exporter);
    });
    connect(xml_, &QAction::triggered, this, &ExportCommands::ExportXml);
    connect(csv_, &QAction::triggered, this, [this] {
        CsvExporter exporter(environment_.CodePage());
        Run(exporter);
    });
    connect(&workspace, &Workspace::stateChanged, this, &ExportCommands::UpdateActions);
    UpdateActions();
}

void ExportCommands::UpdateActions() {
    // A worker may be changing the records.
    for (QAction* action : Actions())
        action->setEnabled(workspace_.IsIdle());
}

std::vector<const Mp3File*> ExportCommands::Exported() const {
    std::vector<Mp3File*> shown = view_.SelectedRecords();
    if (shown.empty())
        shown = view_.ShownRecords();
    return {shown.begin(), shown.end()};
}

void ExportCommands::Run(Exporter& exporter) {
    if (!workspace_.IsIdle())
        return;
    const QString folder =
        workspace_.HasDirectory() ? PathToUrl(workspace_.Directory()).toLocalFile() : QString();
    SaveDialogTarget target(environment_.Chooser(), window_, folder);
    Export(exporter, Exported(), target, environment_.Context());
}

void ExportCommands::ExportXml() {
    XmlExportDialog dialog(window_);
    XmlExporter exporter(environment_.XmlSettings(), dialog);
    Run(exporter);
}

}  // namespace velmora::ui
