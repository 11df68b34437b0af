#pragma once

#include <QString>
#include <QStringList>
#include <utility>

class QWidget;

namespace velmora::ui {

// What the window asks when it wants a file or a folder from the user.
struct FileQuestion {
    enum class Kind { ExistingFile, NewFile, Folder };
    FileQuestion(Kind kind_, QString title_, QString folder_ = {})
        : kind(kind_), title(std::move(title_)), folder(std::move(folder_)) {}

    Kind kind;
    QString title;
    QString folder;         // where the chooser starts
    QString name;           // the name offered for a new file
    QStringList filters;    // "PNG Files (*.png)", the first one chosen
    QString defaultSuffix;  // added to a new file's name typed without one
};

// Where the window asks: the desktop's file dialogs. Tests hand in a chooser that answers at
// once, so that only the tests of the dialogs themselves open one.
class FileChooser {
  public:
    virtual ~FileChooser() = default;
    // The chosen path; empty when the user cancelled.
    virtual QString Ask(QWidget* owner, const FileQuestion& question) = 0;
};

class DialogFileChooser final : public FileChooser {
  public:
    QString Ask(QWidget* owner, const FileQuestion& question) override;
};

}  // namespace velmora::ui
