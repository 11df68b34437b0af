#pragma once

#include <QObject>

class QAction;

namespace velmora::ui {

class FileListView;

// Open, Enqueue and Explore on the selected files, through the desktop. They use the name
// on disk: while a rename is pending the new name does not exist yet.
class ShellCommands : public QObject {
    Q_OBJECT

  public:
    ShellCommands(FileListView& view, QObject* parent = nullptr);

    QAction* Open() const { return open_; }
    QAction* Enqueue() const { return enqueue_; }
    QAction* Explore() const { return explore_; }

    // By the selection; Enqueue also needs a running player with a play queue, looked for
    // only with `lookForPlayer` (a bus call, so only when a menu opens).
    void UpdateActions(bool lookForPlayer);

  private:
    void OpenFiles();
    void EnqueueFiles();
    void ExploreFiles();

    FileListView& view_;
    QAction* open_;
    QAction* enqueue_;
    QAction* explore_;
};

}  // namespace velmora::ui
