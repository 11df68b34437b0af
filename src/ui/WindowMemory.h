#pragma once

class QLineEdit;
class QMainWindow;

namespace velmora {
class SettingsKey;
}

namespace velmora::ui {

class FileListView;

// Names of the values that keep where the window was left, in the root key.
namespace settings {
inline constexpr char kWindowWidth[] = "WindowWidth";
inline constexpr char kWindowHeight[] = "WindowHeight";
inline constexpr char kWindowMaximized[] = "WindowMaximized";
inline constexpr char kColumnOrder[] = "ColumnOrder";    // logical columns, left to right
inline constexpr char kColumnWidths[] = "ColumnWidths";  // pixels, by logical column
inline constexpr char kSortColumn[] = "SortColumn";      // logical column + 1; 0 unsorted
inline constexpr char kSortDescending[] = "SortDescending";
inline constexpr char kFilterText[] = "FilterText";
}  // namespace settings

// The window's size, the list's column order, widths and sort, and the filter text, as the
// user left them. The split between list and editor cannot be dragged, so it is not kept.
void RestoreWindow(const SettingsKey& store, QMainWindow& window, FileListView& view,
                   QLineEdit& filter);
void RememberWindow(SettingsKey& store, const QMainWindow& window, const FileListView& view,
                    const QLineEdit& filter);

}  // namespace velmora::ui
