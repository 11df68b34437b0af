#pragma once

#include <QList>
#include <QObject>
#include <QUrl>
#include <string>

class QAction;
class QWidget;

namespace velmora {
class SettingsKey;
}

namespace velmora::ui {

class FileChooser;
class SaveCommands;
class Workspace;

// Browse, Reload, Stop, and loading a folder that was dropped or named at start.
class LoadCommands : public QObject {
    Q_OBJECT

  public:
    LoadCommands(Workspace& workspace, SaveCommands& saving, SettingsKey& settings,
                 FileChooser& chooser, QWidget* window);

    QAction* Browse() const { return browse_; }
    QAction* Reload() const { return reload_; }
    QAction* Stop() const { return stop_; }

    // After the save question: loads `folder` and keeps it as the folder to browse from.
    void OpenFolder(const std::u16string& folder);
    // Dropped files or folders: the first folder, or the folder of the first file.
    void OpenDropped(const QList<QUrl>& urls);
    // Whether a drop of these URLs would load something.
    static bool CanOpen(const QList<QUrl>& urls);

  private:
    void ChooseFolder();
    void ReloadFolder();
    void UpdateActions();

    Workspace& workspace_;
    SaveCommands& saving_;
    SettingsKey& settings_;
    FileChooser& chooser_;
    QWidget* window_;
    QAction* browse_;
    QAction* reload_;
    QAction* stop_;
};

}  // namespace velmora::ui
