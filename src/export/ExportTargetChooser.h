#pragma once

#include <optional>
#include <string>
#include <utility>

#include "export/ExportFileType.h"

namespace velmora {

// Chooses the file an export writes: the window shows a Save dialog with the type's filters
// and default extension (asking before it replaces a file); the command line and tests give
// a path.
class ExportTargetChooser {
  public:
    virtual ~ExportTargetChooser() = default;
    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<std::u16string> ChooseTarget(const ExportFileType& type) = 0;
};

// Always the given path, as given.
class FixedExportTarget final : public ExportTargetChooser {
  public:
    explicit FixedExportTarget(std::u16string path) : path_(std::move(path)) {}
    std::optional<std::u16string> ChooseTarget(const ExportFileType&) override { return path_; }

  private:
    std::u16string path_;
};

}  // namespace velmora
