#include "ui/dialogs/ReviewDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

#include "tags/record/Mp3File.h"

namespace velmora::ui {
namespace {

constexpr QSize kInitialSize{1000, 500};

}  // namespace

ReviewDialog::ReviewDialog(EngineContext& context, std::vector<Mp3File*> records, QWidget* parent)
    : QDialog(parent), records_(std::move(records)) {
    setWindowTitle(tr("Review changes"));
    changes_.Reset(records_.size(), [this, &context](std::size_t row) {
        return ChangeTableModel::Row{PendingChangeOf(context, *records_[row]), {}};
    });
    auto* view = new QTableView;
    view->setObjectName(QStringLiteral("changes"));
    view->setModel(&changes_);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->hide();
    view->horizontalHeader()->setStretchLastSection(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("%n file(s) would be saved.", "", int(records_.size()))));
    layout->addWidget(view, 1);
    layout->addWidget(buttons);
    resize(kInitialSize);
}

}  // namespace velmora::ui
