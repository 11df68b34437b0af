#pragma once

#include <QCollator>
#include <QCollatorSortKey>
#include <QHeaderView>
#include <QPointer>
#include <QSortFilterProxyModel>
#include <optional>
#include <vector>

namespace velmora::ui {

class FileListModel;

// The rows as the list shows them: sorted by a column and filtered by a text. Bitrate and
// Duration sort by the core's number (a variable bitrate after a constant one of the same
// rate); every other column by the locale's collation, case-sensitive, over keys made once
// per row and column. Sorting never touches the record list.
class FileListProxy : public QSortFilterProxyModel {
    Q_OBJECT

  public:
    explicit FileListProxy(FileListModel& model, QObject* parent = nullptr);

    // Rows whose shown cells contain `text`, case-insensitive; all rows for an empty text.
    void SetFilterText(const QString& text);
    // The filter searches the columns this header shows (all while there is none): a row
    // is not shown for a text the user cannot see in it.
    void SearchShownColumnsOf(const QHeaderView* header) { header_ = header; }
    const QString& FilterText() const { return filterText_; }
    // Applies the filter again, after the columns it searches changed.
    void Refilter();

  protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

  private:
    const QCollatorSortKey& KeyOf(int sourceRow) const;
    void ForgetKeys(int first, int last);

    FileListModel& model_;
    QCollator collator_;
    QString filterText_;
    QPointer<const QHeaderView> header_;
    // Sort keys of the sort column's texts, by source row, made when first compared.
    mutable int keyColumn_ = -1;
    mutable std::vector<std::optional<QCollatorSortKey>> keys_;
};

}  // namespace velmora::ui
