#pragma once

#include <QLabel>

class QItemSelectionModel;

namespace velmora::ui {

class FileListProxy;

// "N of M shown" in the status bar while a filter is set, with the number of selected rows:
// a filter restored at start, or set when a folder loads, never leaves an empty list
// unexplained. Hidden while there is no filter.
class ShownCount : public QLabel {
    Q_OBJECT

  public:
    ShownCount(FileListProxy& proxy, QItemSelectionModel& selection, QWidget* parent = nullptr);

    // Counts again; also after the filter text changed.
    void Update();

  private:
    FileListProxy& proxy_;
    QItemSelectionModel& selection_;
};

}  // namespace velmora::ui
