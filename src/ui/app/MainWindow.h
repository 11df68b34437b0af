#pragma once

#include <QMainWindow>
#include <string>

class QLabel;
class QLineEdit;
class QMenu;

namespace velmora::ui {

class BatchCommands;
class CellCommands;
class EditCommands;
class ExportCommands;
class FileListView;
class LoadCommands;
class SaveCommands;
class ShellCommands;
class TagCommands;
class TagEditorPanel;
class UiEnvironment;
class Workspace;

// The program's window: menus, the button bar, the file list with its filter, the editor
// panel's place and the status bar. It builds and connects; the command objects act.
class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    explicit MainWindow(UiEnvironment& environment, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Loads a folder named at start or dropped (after the save question).
    void OpenFolder(const std::u16string& folder);

    Workspace& Files() { return *workspace_; }
    FileListView& List() { return *view_; }
    TagEditorPanel& Panel() { return *panel_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void BuildMenus();
    void BuildFileMenu();
    void BuildEditMenu();
    QWidget* BuildButtonBar();
    QWidget* BuildCentre();
    void BuildStatusBar();
    void ShowContextMenu(const QPoint& globalPos);
    void ShowPreferences();
    void ShowReview();
    void ShowHistory();
    void ShowAbout();
    void ApplyDisplay();

    UiEnvironment& environment_;
    Workspace* workspace_;
    FileListView* view_;
    QLineEdit* filter_;
    QLabel* status_;
    QLabel* progress_;
    SaveCommands* saving_;
    LoadCommands* loading_;
    ShellCommands* shell_;
    TagCommands* tags_;
    EditCommands* edits_;
    CellCommands* cells_;
    TagEditorPanel* panel_;
    ExportCommands* exports_;
    BatchCommands* batch_;
    QMenu* exportMenu_;
    // The window was asked to close while a worker ran: it closes when the worker is done.
    bool closeWhenIdle_ = false;
};

}  // namespace velmora::ui
