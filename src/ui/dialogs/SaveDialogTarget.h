#pragma once

#include <QString>

#include "export/ExportTargetChooser.h"
#include "ui/bridges/FileChooser.h"

class QWidget;

namespace velmora::ui {

// The Save dialog of an export: the exporter's filters, its default extension added to a
// name typed without one, and a question before an existing file is replaced.
class SaveDialogTarget final : public ExportTargetChooser {
  public:
    SaveDialogTarget(FileChooser& chooser, QWidget* owner, QString folder)
        : chooser_(chooser), owner_(owner), folder_(std::move(folder)) {}

    std::optional<std::u16string> ChooseTarget(const ExportFileType& type) override;

    // "M3U Files (*.m3u)": a filter's name with its pattern, unless the name shows it.
    static QString FilterText(const FileFilter& filter);

  private:
    FileChooser& chooser_;
    QWidget* owner_;
    QString folder_;
};

}  // namespace velmora::ui
