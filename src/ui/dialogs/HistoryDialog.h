#pragma once

#include <QDialog>
#include <QTimer>
#include <atomic>
#include <memory>
#include <vector>

#include "history/HistoryStore.h"
#include "history/Revert.h"
#include "scan/BackgroundWorker.h"
#include "ui/dialogs/BatchListModel.h"
#include "ui/dialogs/ChangeTableModel.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;

namespace velmora {
struct EngineContext;
}

namespace velmora::ui {

class Workspace;

// File > History...: the batches of the history of saves, newest first, and the files of the
// chosen one with what changed. A revert of the batch or of the chosen files runs on a thread
// of its own, like a save, with progress and Stop; files skipped are listed with the reason
// and may be written anyway; loaded files it changed are loaded again.
class HistoryDialog : public QDialog {
    Q_OBJECT

  public:
    HistoryDialog(Workspace& workspace, const EngineContext& context, QWidget* parent = nullptr);
    ~HistoryDialog() override;

    // While a revert runs, Close and Escape stop it after the file at hand instead of
    // closing, so the files it changed are always loaded again.
    void reject() override;

  private:
    QWidget* BuildButtons();
    void LoadBatches();
    void ShowBatch();
    void RevertChosen(bool selectedOnly);
    void StartRevert(std::int64_t batch, history::RevertOptions options);
    void Poll();
    void RevertDone();
    void AskToForce(const std::vector<std::u16string>& skipped, const QString& list);
    void EnableButtons();

    Workspace& workspace_;
    const EngineContext& context_;
    std::unique_ptr<history::HistoryStore> store_;
    std::vector<history::EntryRow> entries_;
    std::int64_t shown_ = 0;
    BatchListModel batches_;
    ChangeTableModel files_;
    QTableView* batchView_;
    QTableView* fileView_;
    QLabel* status_;
    QPushButton* revertBatch_;
    QPushButton* revertFiles_;
    QPushButton* stop_;
    QProgressBar* progress_;
    QTimer poll_;
    BackgroundWorker worker_;
    std::atomic<std::size_t> done_{0};
    std::atomic<bool> stopRequested_{false};
    history::RevertResult result_;
};

}  // namespace velmora::ui
