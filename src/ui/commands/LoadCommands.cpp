#include "ui/commands/LoadCommands.h"

#include <QFileInfo>
#include <QWidget>

#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"
#include "ui/app/Actions.h"
#include "ui/app/Workspace.h"
#include "ui/bridges/FileChooser.h"
#include "ui/bridges/QtText.h"
#include "ui/commands/SaveCommands.h"

namespace velmora::ui {
namespace {

// The folder a dropped path stands for: itself, or the folder holding the file.
QString FolderOf(const QUrl& url) {
    const QFileInfo info(url.toLocalFile());
    return info.isDir() ? info.absoluteFilePath() : info.absolutePath();
}

}  // namespace

LoadCommands::LoadCommands(Workspace& workspace, SaveCommands& saving, SettingsKey& settings,
                           FileChooser& chooser, QWidget* window)
    : QObject(window),
      workspace_(workspace),
      saving_(saving),
      settings_(settings),
      chooser_(chooser),
      window_(window),
      browse_(MakeAction(this, tr("&Browse..."), tr("Browse for a directory to load"),
                         {QKeySequence::Open})),
      reload_(MakeAction(this, tr("&Reload"), tr("Load the directory again"),
                         {QKeySequence(Qt::Key_F5)})),
      stop_(MakeAction(this, tr("S&top Loading"), tr("Stop the load; the files loaded stay"),
                       {QKeySequence(Qt::Key_Escape)})) {
    connect(browse_, &QAction::triggered, this, &LoadCommands::ChooseFolder);
    connect(reload_, &QAction::triggered, this, &LoadCommands::ReloadFolder);
    connect(stop_, &QAction::triggered, &workspace, &Workspace::StopLoad);
    connect(&workspace, &Workspace::stateChanged, this, &LoadCommands::UpdateActions);
    UpdateActions();
}

void LoadCommands::UpdateActions() {
    browse_->setEnabled(workspace_.IsIdle());
    reload_->setEnabled(workspace_.IsIdle() && workspace_.HasDirectory());
    stop_->setEnabled(workspace_.State() == WorkState::Loading ||
                      workspace_.State() == WorkState::Editing);
}

void LoadCommands::ChooseFolder() {
    if (!workspace_.IsIdle() || !saving_.MayDiscard([this] { ChooseFolder(); }))
        return;
    const QString start = ToQString(settings_.ReadString(settings::kBrowseDir));
    const QString folder = chooser_.Ask(
        window_, FileQuestion{FileQuestion::Kind::Folder, tr("Select a directory"), start});
    if (folder.isEmpty())
        return;
    const std::u16string chosen = PathFromQString(folder);
    settings_.WriteString(settings::kBrowseDir, chosen);
    workspace_.Load(chosen, settings_.Read(settings::kRecurse));
}

void LoadCommands::OpenFolder(const std::u16string& folder) {
    if (!workspace_.IsIdle() || !saving_.MayDiscard([this, folder] { OpenFolder(folder); }))
        return;
    settings_.WriteString(settings::kBrowseDir, folder);
    workspace_.Load(folder, settings_.Read(settings::kRecurse));
}

void LoadCommands::ReloadFolder() {
    if (!workspace_.IsIdle() || !workspace_.HasDirectory() ||
        !saving_.MayDiscard([this] { ReloadFolder(); }))
        return;
    workspace_.Reload(settings_.Read(settings::kRecurse));
}

bool LoadCommands::CanOpen(const QList<QUrl>& urls) {
    return !urls.isEmpty() && urls.front().isLocalFile();
}

void LoadCommands::OpenDropped(const QList<QUrl>& urls) {
    if (CanOpen(urls))
        OpenFolder(PathFromQString(FolderOf(urls.front())));
}

}  // namespace velmora::ui
