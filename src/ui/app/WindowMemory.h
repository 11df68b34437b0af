#pragma once

class QLineEdit;
class QMainWindow;

namespace velmora {
class SettingsKey;
}

namespace velmora::ui {

class FileListView;

// The window's size, the list's column order, widths and sort, and the filter text, as the
// user left them. The split between list and editor cannot be dragged, so it is not kept.
void RestoreWindow(const SettingsKey& store, QMainWindow& window, FileListView& view,
                   QLineEdit& filter);
void RememberWindow(SettingsKey& store, const QMainWindow& window, const FileListView& view,
                    const QLineEdit& filter);

}  // namespace velmora::ui
