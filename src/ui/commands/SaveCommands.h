#pragma once

#include <QObject>
#include <functional>

class QAction;

namespace velmora::ui {

class UiMessageSink;
class Workspace;

// Save, and the question asked before the records are thrown away.
class SaveCommands : public QObject {
    Q_OBJECT

  public:
    SaveCommands(Workspace& workspace, UiMessageSink& sink, QObject* parent = nullptr);

    QAction* Save() const { return save_; }

    // Before a command that destroys the records: true when it may go on now. When some
    // need saving the user is asked; Yes starts the save and `retry` runs when it is done
    // (false now), No goes on without saving (true), Cancel stops (false).
    bool MayDiscard(const std::function<void()>& retry);

  private:
    void UpdateActions();

    Workspace& workspace_;
    UiMessageSink& sink_;
    QAction* save_;
};

}  // namespace velmora::ui
