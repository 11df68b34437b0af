#include "ui/commands/CellCommands.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QMimeData>
#include <algorithm>
#include <chrono>
#include <future>
#include <memory>
#include <optional>
#include <unordered_map>

#include "edit/ActionNames.h"
#include "export/CsvImport.h"
#include "export/CsvText.h"
#include "tags/record/EngineContext.h"
#include "ui/app/Actions.h"
#include "ui/app/Workspace.h"
#include "ui/bridges/QtText.h"
#include "ui/bridges/UiMessageSink.h"
#include "ui/dialogs/CsvImportDialog.h"
#include "ui/list/FileListView.h"

namespace velmora::ui {
namespace {

// A box names this many refusals; the rest are counted.
constexpr std::size_t kRefusalsNamed = 10;
// Records whose edits are checked in one step of a plan.
constexpr std::size_t kPlanStep = 64;

const QString kCsvMime = QStringLiteral("text/csv");

// How long one step of the window's wait for a worker blocks.
constexpr std::chrono::milliseconds kWaitStep{1};

// Planned changes grouped by their record in one step.
constexpr std::size_t kGroupStep = 256;

// Each record's edits together, in their order: a long paste or import then runs in slices,
// a part of the records at a time, and Stop takes it back whole.
struct EditGroups {
    std::vector<Mp3File*> records;
    std::vector<std::vector<const batch::CellEdit*>> edits;
    std::unordered_map<const Mp3File*, std::size_t> place;
    std::size_t next = 0;

    // Groups up to `count` more of `changes`; false once every one is grouped.
    bool Add(const std::vector<batch::CellEdit>& changes, std::size_t count) {
        // Room for every record at once: growing by rehashes held a step for milliseconds.
        if (next == 0)
            place.reserve(changes.size());
        for (const std::size_t end = std::min(changes.size(), next + count); next < end; ++next) {
            const batch::CellEdit& change = changes[next];
            const auto [at, fresh] = place.try_emplace(change.record, records.size());
            if (fresh) {
                records.push_back(change.record);
                edits.emplace_back();
            }
            edits[at->second].push_back(&change);
        }
        return next < changes.size();
    }
};

// What an edit of cells plans. Over a library it holds several allocations per record,
// so it is freed off the interface thread.
struct CellWork {
    CellWork(std::vector<batch::CellEdit> wanted, const text::CodePage& codePage)
        : planner(std::move(wanted), codePage) {}

    batch::CellPlanner planner;
    std::optional<batch::CellPlan> plan;
    EditGroups groups;
};

// The clipboard read as the edits of a paste.
struct PastedTable {
    bool isTable = false;
    std::size_t lines = 0;
    std::vector<batch::CellEdit> edits;
};

}  // namespace

CellCommands::CellCommands(Workspace& workspace, FileListView& view, UiMessageSink& sink,
                           EngineContext& context, QObject* parent)
    : QObject(parent),
      workspace_(workspace),
      view_(view),
      sink_(sink),
      context_(context),
      copy_(MakeAction(this, tr("&Copy Rows"),
                       tr("Copy the shown columns of the selected rows as a table"))),
      paste_(MakeAction(this, tr("&Paste into Rows"),
                        tr("Paste a table into the selected rows from the current column on"))),
      importCsv_(MakeAction(this, tr("&Import CSV..."),
                            tr("Set the tags of the loaded files from a CSV file"))) {
    connect(copy_, &QAction::triggered, this, &CellCommands::CopyRows);
    connect(paste_, &QAction::triggered, this, &CellCommands::PasteRows);
    connect(importCsv_, &QAction::triggered, this, &CellCommands::ImportCsvFile);
    // A worker may be changing the records: nothing reads or edits them meanwhile.
    connect(&workspace, &Workspace::stateChanged, this, [this] {
        const bool idle = workspace_.IsIdle();
        for (QAction* action : {copy_, paste_, importCsv_})
            action->setEnabled(idle);
        view_.SetEditable(idle);
    });
    connect(&workspace, &Workspace::pendingEditsWanted, &view, &FileListView::CommitTyping);
    connect(&view, &FileListView::copyWanted, this, &CellCommands::CopyRows);
    connect(&view, &FileListView::pasteWanted, this, &CellCommands::PasteRows);
    connect(&view, &FileListView::cellsEdited, this, &CellCommands::EditCells);
}

void CellCommands::EditCells(const std::vector<Mp3File*>& records, int column,
                             const QString& value) {
    std::vector<batch::CellEdit> wanted;
    wanted.reserve(records.size());
    for (Mp3File* record : records)
        wanted.push_back({record, static_cast<Column>(column), ToU16(value)});
    Apply(edit::kEditCellAction, std::move(wanted));
}

void CellCommands::CopyRows() {
    const std::vector<Mp3File*> records = view_.SelectedRecords();
    if (!workspace_.IsIdle() || records.empty())
        return;
    const std::vector<Column> columns =
        view_.ShownColumnsFrom(view_.horizontalHeader()->logicalIndex(0));
    std::u16string tsv;
    std::string csv;
    std::vector<std::u16string> cells;
    for (const Mp3File* record : records) {
        cells.clear();
        for (const Column column : columns)
            cells.push_back(CellText(*record, column, context_.codePage));
        AppendTsvRecord(tsv, cells);
        AppendCsvRecord(csv, cells);
    }
    auto* data = new QMimeData;
    data->setText(ToQString(tsv));
    data->setData(kCsvMime, QByteArray::fromStdString(csv));
    QApplication::clipboard()->setMimeData(data);
}

void CellCommands::PasteRows() {
    const QModelIndex current = view_.currentIndex();
    std::vector<Mp3File*> rows = view_.SelectedRecords();
    if (!workspace_.IsIdle() || !current.isValid() || rows.empty())
        return;
    const std::size_t rowCount = rows.size();
    // The clipboard is read as a table on a worker, the window answering: it reads no record.
    auto reading =
        std::async(std::launch::async, [text = ToU16(QApplication::clipboard()->text()),
                                        rows = std::move(rows),
                                        columns = view_.ShownColumnsFrom(current.column())] {
            const CsvTable lines = ReadTsv(text);
            return PastedTable{lines.error.empty() && !lines.rows.empty(), lines.rows.size(),
                               batch::PasteEdits(rows, columns, lines.rows)};
        });
    const bool read = workspace_.ReadInParts(edit::kPasteAction, rowCount, [&](std::size_t&) {
        return reading.wait_for(kWaitStep) != std::future_status::ready;
    });
    if (!read)
        return;
    PastedTable pasted = reading.get();
    if (!pasted.isTable) {
        sink_.Show(NoteMessage({ToU16(tr("The clipboard holds no table of text to paste."))},
                               kErrorCaption, MessageIcon::Warning));
        return;
    }
    if (!batch::PasteFits(pasted.lines, rowCount)) {
        sink_.Show(NoteMessage(
            {ToU16(tr("The clipboard holds %1 lines, but %2 rows are selected: paste one line "
                      "into any number of rows, or one line per selected row.")
                       .arg(pasted.lines)
                       .arg(rowCount))},
            kErrorCaption, MessageIcon::Warning));
        return;
    }
    Apply(edit::kPasteAction, std::move(pasted.edits));
}

void CellCommands::ImportCsvFile() {
    const QString path = QFileDialog::getOpenFileName(
        view_.window(), tr("Import CSV"),
        workspace_.HasDirectory() ? PathToUrl(workspace_.Directory()).toLocalFile() : QString(),
        tr("CSV Files (*.csv);;Tab-separated Files (*.tsv *.txt);;All Files (*)"));
    if (path.isEmpty() || !workspace_.IsIdle())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ShowError(sink_, MessageKind::LoadOpenFailed, {ToU16(path)});
        return;
    }
    const QByteArray bytes = file.readAll();
    const CsvImportTable table = ReadCsvImport(std::string_view(bytes.data(), bytes.size()));
    if (!table.error.empty()) {
        sink_.Show(NoteMessage({ToU16(path), table.error}, kErrorCaption, MessageIcon::Warning));
        return;
    }
    workspace_.ApplyPendingEdits();
    CsvImportEdits matched = MatchCsvImport(table, workspace_.Model().Records());
    // The preview's plan is made in slices, as a paste's.
    auto work = std::make_shared<CellWork>(std::move(matched.wanted), context_.codePage);
    const bool planned = workspace_.ReadInParts(
        edit::kImportCsvAction, work->planner.RecordsTotal(), [&](std::size_t& done) {
            if (!work->planner.Step(kPlanStep))
                work->plan = work->planner.Finish();
            done = work->planner.RecordsDone();
            return !work->plan;
        });
    if (!planned) {
        workspace_.Dispose(std::move(work));
        return;
    }
    CsvImportPlan plan = FinishCsvImport(std::move(matched), std::move(*work->plan));
    workspace_.Dispose(std::move(work));
    ShowRefusals(plan.cells.refusals);
    CsvImportDialog preview(plan, context_.codePage, view_.window());
    if (preview.exec() == QDialog::Accepted)
        Apply(edit::kImportCsvAction, std::move(plan.cells.changes));
}

void CellCommands::Apply(std::u16string name, std::vector<batch::CellEdit> wanted) {
    if (!workspace_.IsIdle())
        return;
    // Typing in the editor not applied yet came first.
    workspace_.ApplyPendingEdits();
    // A long plan runs in slices too: its refusals are shown before anything changes.
    auto work = std::make_shared<CellWork>(std::move(wanted), context_.codePage);
    batch::CellPlanner& planner = work->planner;
    std::optional<batch::CellPlan>& plan = work->plan;
    EditGroups& groups = work->groups;
    const bool planned =
        workspace_.ReadInParts(name, planner.RecordsTotal(), [&](std::size_t& done) {
            if (plan)
                return groups.Add(plan->changes, kGroupStep);
            if (!planner.Step(kPlanStep))
                plan = planner.Finish();
            done = planner.RecordsDone();
            return true;
        });
    if (planned)
        ShowRefusals(plan->refusals);
    if (planned && !plan->changes.empty()) {
        workspace_.ApplyToParts(
            std::move(name), groups.records, [&](std::span<Mp3File* const> part) {
                for (Mp3File* record : part) {
                    for (const batch::CellEdit* change : groups.edits[groups.place.at(record)])
                        batch::ApplyCellEdit(*change, context_);
                }
            });
    }
    workspace_.Dispose(std::move(work));
}

void CellCommands::ShowRefusals(const std::vector<Message>& refusals) {
    if (refusals.empty())
        return;
    std::vector<std::u16string> lines;
    for (std::size_t i = 0; i < refusals.size() && i < kRefusalsNamed; ++i)
        lines.push_back(MessageText(refusals[i], u" "));
    if (refusals.size() > kRefusalsNamed)
        lines.push_back(ToU16(tr("... and %n more.", "", int(refusals.size() - kRefusalsNamed))));
    sink_.Show(NoteMessage(std::move(lines), kErrorCaption, MessageIcon::Warning));
}

}  // namespace velmora::ui
