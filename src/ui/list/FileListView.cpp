#include "ui/list/FileListView.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMenu>
#include <QStyledItemDelegate>
#include <algorithm>
#include <array>

#include "scan/FileListColumns.h"
#include "ui/bridges/CoreWords.h"
#include "ui/bridges/QtText.h"
#include "ui/list/CellDelegate.h"
#include "ui/list/FileListModel.h"
#include "ui/list/FileListProxy.h"

namespace velmora::ui {
namespace {

// Folders of one tree differ at their ends: the middle goes, so copies are told apart.
class MiddleElision : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

  protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->textElideMode = Qt::ElideMiddle;
    }
};

}  // namespace

int FileListView::DefaultWidth(int column) {
    // Pixels, in the order of Column.
    static constexpr std::array kWidths{300, 50,  150, 200, 200, 50, 100,
                                        100, 100, 100, 150, 50,  150};
    static_assert(kWidths.size() == kAllColumns.size());
    return kWidths[std::size_t(column)];
}

FileListView::FileListView(FileListModel& model, FileListProxy& proxy, QWidget* parent)
    : QTableView(parent), model_(model), proxy_(proxy) {
    setModel(&proxy);
    // The header highlights no section, yet each of its paints asks the selection whether
    // every row of each shown column is selected, a call per row and column: over a library
    // selected whole that held a paint for 100 ms. Its own selection stays empty.
    horizontalHeader()->setSelectionModel(new QItemSelectionModel(&proxy, horizontalHeader()));
    proxy.SearchShownColumnsOf(horizontalHeader());
    setSelectionBehavior(SelectRows);
    setSelectionMode(ExtendedSelection);
    SetEditable(true);
    auto* cells = new CellDelegate(this);
    setItemDelegate(cells);
    connect(cells, &CellDelegate::valueTyped, this,
            [this](const QModelIndex& index, const QString& value) {
                emit cellsEdited(EditedRecords(index), index.column(), value);
            });
    setWordWrap(false);
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionsMovable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int column = 0; column < model.columnCount(); ++column) {
        setColumnWidth(column, DefaultWidth(column));
        setColumnHidden(column, kColumnInfos[std::size_t(column)].hiddenFirst);
    }
    setItemDelegateForColumn(int(Column::Directory), new MiddleElision(this));
    horizontalHeader()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(horizontalHeader(), &QHeaderView::customContextMenuRequested, this,
            [this](const QPoint& pos) {
                QMenu menu(this);
                FillColumnMenu(menu);
                menu.exec(horizontalHeader()->viewport()->mapToGlobal(pos));
            });
    // Load order until the first header click.
    horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    setSortingEnabled(true);
    connect(this, &QTableView::doubleClicked, this, [this] { emit openWanted(); });
}

void FileListView::ApplyDisplay(const ListDisplay& display) {
    setShowGrid(display.showGridlines);
    QPalette colours = palette();
    const QColor window = colours.color(QPalette::Active, QPalette::Base);
    // The view paints AlternateBase on odd rows, so even rows get the shade as Base.
    setAlternatingRowColors(display.alternateBg);
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        if (display.alternateBg) {
            colours.setColor(group, QPalette::AlternateBase, window);
            colours.setColor(group, QPalette::Base, EvenRowShade(window));
        } else {
            colours.setColor(group, QPalette::Base, window);
        }
    }
    // The selection stays visible when the list has no focus.
    colours.setColor(QPalette::Inactive, QPalette::Highlight,
                     colours.color(QPalette::Active, QPalette::Highlight));
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     colours.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(colours);
    viewport()->update();
}

void FileListView::FillColumnMenu(QMenu& menu) {
    // The file name always shows: a row without it would name no file.
    for (int column = 1; column < model_.columnCount(); ++column) {
        QAction* action = menu.addAction(ColumnWord(Column(column)));
        action->setCheckable(true);
        action->setChecked(!isColumnHidden(column));
        connect(action, &QAction::toggled, this, [this, column](bool shown) {
            setColumnHidden(column, !shown);
            if (shown && columnWidth(column) == 0)
                setColumnWidth(column, DefaultWidth(column));
            if (!proxy_.FilterText().isEmpty())
                proxy_.Refilter();
        });
    }
}

std::vector<Mp3File*> FileListView::SelectedRecords() const {
    // The rows straight from the selection's ranges: a range over every column holds whole
    // rows, which asking the selection row by row for a library would cost far more.
    const int columns = proxy_.columnCount();
    std::vector<int> rows;
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        const bool whole = range.left() == 0 && range.right() == columns - 1;
        for (int row = range.top(); row <= range.bottom(); ++row) {
            if (whole || selectionModel()->isRowSelected(row))
                rows.push_back(row);
        }
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::vector<Mp3File*> records;
    records.reserve(rows.size());
    for (const int row : rows)
        records.push_back(model_.Record(proxy_.mapToSource(proxy_.index(row, 0)).row()));
    return records;
}

std::vector<Mp3File*> FileListView::ShownRecords() const {
    std::vector<Mp3File*> records;
    records.reserve(std::size_t(proxy_.rowCount()));
    for (int row = 0; row < proxy_.rowCount(); ++row)
        records.push_back(model_.Record(proxy_.mapToSource(proxy_.index(row, 0)).row()));
    return records;
}

Mp3File* FileListView::CurrentRecord() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? model_.Record(proxy_.mapToSource(current).row()) : nullptr;
}

void FileListView::SetEditable(bool editable) {
    setEditTriggers(editable ? EditKeyPressed | AnyKeyPressed : NoEditTriggers);
}

void FileListView::CommitTyping() {
    QWidget* editor = state() == EditingState ? indexWidget(currentIndex()) : nullptr;
    // Applying the edit asks for typed edits again: this editor is being applied already.
    if (editor == nullptr || committing_)
        return;
    committing_ = true;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
    committing_ = false;
}

std::vector<Column> FileListView::ShownColumnsFrom(int column) const {
    std::vector<Column> columns;
    const QHeaderView* header = horizontalHeader();
    for (int visual = header->visualIndex(column); visual >= 0 && visual < header->count();
         ++visual) {
        const int logical = header->logicalIndex(visual);
        if (!header->isSectionHidden(logical))
            columns.push_back(static_cast<Column>(logical));
    }
    return columns;
}

std::vector<Mp3File*> FileListView::EditedRecords(const QModelIndex& row) const {
    if (selectionModel()->isRowSelected(row.row(), {}))
        return SelectedRecords();
    return {model_.Record(proxy_.mapToSource(row).row())};
}

void FileListView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    if (hint != QAbstractItemDelegate::EditNextItem &&
        hint != QAbstractItemDelegate::EditPreviousItem) {
        QTableView::closeEditor(editor, hint);
        return;
    }
    QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
    const QModelIndex current = currentIndex();
    const QHeaderView* header = horizontalHeader();
    const int step = hint == QAbstractItemDelegate::EditNextItem ? 1 : -1;
    for (int visual = header->visualIndex(current.column()) + step;
         visual >= 0 && visual < header->count(); visual += step) {
        const QModelIndex next = current.siblingAtColumn(header->logicalIndex(visual));
        if (!isColumnHidden(next.column()) && (next.flags() & Qt::ItemIsEditable)) {
            selectionModel()->setCurrentIndex(next, QItemSelectionModel::NoUpdate);
            edit(next);
            return;
        }
    }
}

void FileListView::contextMenuEvent(QContextMenuEvent* event) {
    QModelIndex at =
        event->reason() == QContextMenuEvent::Mouse ? indexAt(event->pos()) : currentIndex();
    if (!at.isValid() || !selectionModel()->isRowSelected(at.row(), at.parent()))
        return;
    QPoint pos = event->globalPos();
    if (event->reason() != QContextMenuEvent::Mouse)
        pos = viewport()->mapToGlobal(visualRect(at).center());
    emit contextMenuWanted(pos);
}

bool FileListView::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F2 && key->modifiers() == Qt::NoModifier &&
            editTriggers() != NoEditTriggers && (currentIndex().flags() & Qt::ItemIsEditable)) {
            event->accept();
            return true;
        }
    }
    return QTableView::event(event);
}

void FileListView::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        event->modifiers() == Qt::NoModifier && currentIndex().isValid()) {
        // The key that ends the editing of a cell comes here too: it only applies.
        if (state() == EditingState)
            return;
        emit openWanted();
        return;
    }
    if (event->matches(QKeySequence::Copy)) {
        emit copyWanted();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        emit pasteWanted();
        return;
    }
    QTableView::keyPressEvent(event);
}

}  // namespace velmora::ui
