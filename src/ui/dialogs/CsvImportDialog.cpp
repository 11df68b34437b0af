#include "ui/dialogs/CsvImportDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <unordered_set>

#include "tags/record/Mp3File.h"
#include "ui/bridges/QtText.h"
#include "ui/list/FileListModel.h"

namespace velmora::ui {
namespace {

enum PreviewColumn { kFile, kField, kOld, kNew, kPreviewColumns };

constexpr QSize kDialogSize{900, 500};

}  // namespace

CsvPreviewModel::CsvPreviewModel(const CsvImportPlan& plan, const text::CodePage& codePage,
                                 QObject* parent)
    : QAbstractTableModel(parent), plan_(plan), codePage_(codePage) {}

int CsvPreviewModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(plan_.cells.changes.size() + plan_.unmatched.size());
}

int CsvPreviewModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kPreviewColumns;
}

QVariant CsvPreviewModel::data(const QModelIndex& index, int role) const {
    const bool tip = role == Qt::ToolTipRole && index.column() == kFile;
    if (!index.isValid() || (role != Qt::DisplayRole && !tip))
        return {};
    const std::size_t row = std::size_t(index.row());
    if (row >= plan_.cells.changes.size()) {
        const std::u16string& path = plan_.unmatched[row - plan_.cells.changes.size()];
        return index.column() == kFile    ? ToQString(path)
               : index.column() == kField ? tr("(matches no loaded file)")
                                          : QVariant();
    }
    const batch::CellEdit& edit = plan_.cells.changes[row];
    switch (index.column()) {
        case kFile:
            return ToQString(edit.record->DiskPath());
        case kField:
            return ToQString(ColumnInfoOf(edit.column).header);
        case kOld:
            return OnOneLine(ToQString(CellText(*edit.record, edit.column, codePage_)));
        default:
            return OnOneLine(ToQString(edit.value));
    }
}

QVariant CsvPreviewModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    const QString titles[] = {tr("File"), tr("Column"), tr("Old"), tr("New")};
    return section >= 0 && section < kPreviewColumns ? titles[section] : QVariant();
}

CsvImportDialog::CsvImportDialog(const CsvImportPlan& plan, const text::CodePage& codePage,
                                 QWidget* parent)
    : QDialog(parent), model_(new CsvPreviewModel(plan, codePage, this)) {
    setWindowTitle(tr("Import CSV"));
    std::unordered_set<const Mp3File*> files;
    for (const batch::CellEdit& edit : plan.cells.changes)
        files.insert(edit.record);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("%1 cells of %2 files change; %3 rows match no loaded file.")
                                     .arg(plan.cells.changes.size())
                                     .arg(files.size())
                                     .arg(plan.unmatched.size())));
    auto* table = new QTableView;
    table->setModel(model_);
    table->setWordWrap(false);
    // A long path keeps its file name in sight; the whole path is the cell's tip.
    table->setTextElideMode(Qt::ElideMiddle);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    layout->addWidget(table);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Apply | QDialogButtonBox::Cancel);
    QPushButton* apply = buttons->button(QDialogButtonBox::Apply);
    apply->setEnabled(!plan.cells.changes.empty());
    connect(apply, &QPushButton::clicked, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    // Once in the dialog, so that it is the dialog's default and Enter applies.
    apply->setDefault(true);
    resize(kDialogSize);
    table->horizontalHeader()->resizeSection(kFile, kDialogSize.width() * 2 / 5);
}

}  // namespace velmora::ui
