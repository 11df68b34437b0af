#pragma once

#include <QObject>
#include <QString>
#include <string>
#include <vector>

#include "batch/CellEdits.h"

class QAction;

namespace velmora {
class Mp3File;
struct EngineContext;
}  // namespace velmora

namespace velmora::ui {

class FileListView;
class UiMessageSink;
class Workspace;

// The list as a spreadsheet: a value typed into a cell goes to that column of the selected
// rows, Copy puts the shown columns of the selected rows on the clipboard (tab-separated and
// as CSV), Paste puts tab-separated lines into the selected rows, Import CSV sets the cells a
// CSV file gives for the loaded files. Each is one undoable action.
class CellCommands : public QObject {
    Q_OBJECT

  public:
    CellCommands(Workspace& workspace, FileListView& view, UiMessageSink& sink,
                 EngineContext& context, QObject* parent = nullptr);

    QAction* Copy() const { return copy_; }
    QAction* Paste() const { return paste_; }
    QAction* ImportCsv() const { return importCsv_; }

    void EditCells(const std::vector<Mp3File*>& records, int column, const QString& value);
    void CopyRows();
    void PasteRows();
    // Asks for a CSV file, previews what it changes and applies it when the user agrees.
    void ImportCsvFile();
    // Plans the edits, shows what it refuses, and applies the rest as one action named `name`.
    void Apply(std::u16string name, std::vector<batch::CellEdit> wanted);

  private:
    void ShowRefusals(const std::vector<Message>& refusals);

    Workspace& workspace_;
    FileListView& view_;
    UiMessageSink& sink_;
    EngineContext& context_;
    QAction* copy_;
    QAction* paste_;
    QAction* importCsv_;
};

}  // namespace velmora::ui
