#pragma once

#include <QObject>

class QAction;

namespace velmora::ui {

class FileListView;
class PlayerLookup;
class Workspace;

// Open, Enqueue and Explore on the selected files, through the desktop. They use the name
// on disk: while a rename is pending the new name does not exist yet. While a save runs they
// are off, since its worker rewrites the names they read.
class ShellCommands : public QObject {
    Q_OBJECT

  public:
    ShellCommands(Workspace& workspace, FileListView& view, QObject* parent = nullptr);

    QAction* Open() const { return open_; }
    QAction* Enqueue() const { return enqueue_; }
    QAction* Explore() const { return explore_; }

    // A menu with these commands opens: the player is looked up again, without waiting; the
    // actions follow when the answer comes.
    void MenuOpening();
    // Opens the current row's file alone (Enter, a double-click).
    void OpenCurrent();

  private:
    void UpdateActions();
    void OpenFiles();
    void EnqueueFiles();
    void ExploreFiles();

    Workspace& workspace_;
    FileListView& view_;
    PlayerLookup* player_;
    QAction* open_;
    QAction* enqueue_;
    QAction* explore_;
};

}  // namespace velmora::ui
