#include "ui/app/WindowMemory.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QMainWindow>
#include <QStringList>

#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"
#include "ui/bridges/QtText.h"
#include "ui/list/FileListView.h"

namespace velmora::ui {
namespace {

// A list of small numbers stored as "a,b,c"; empty when any part is not a number.
QList<int> ReadNumbers(const SettingsKey& store, const settings::TextSetting& setting) {
    QList<int> numbers;
    const QString text = ToQString(store.Read(setting));
    if (text.isEmpty())
        return numbers;
    for (const QString& part : text.split(QLatin1Char(','))) {
        bool ok = false;
        const int number = part.toInt(&ok);
        if (!ok)
            return {};
        numbers << number;
    }
    return numbers;
}

void WriteNumbers(SettingsKey& store, const settings::TextSetting& setting,
                  const QList<int>& numbers) {
    QStringList parts;
    for (int number : numbers)
        parts << QString::number(number);
    store.Write(setting, ToU16(parts.join(QLatin1Char(','))));
}

void RestoreColumns(const SettingsKey& store, QHeaderView& header) {
    const int count = header.count();
    const QList<int> order = ReadNumbers(store, settings::kColumnOrder);
    QList<int> seen;
    for (int logical : order) {
        if (logical < 0 || logical >= count || seen.contains(logical))
            break;
        seen << logical;
    }
    // Lists kept before columns were added cover the first columns; the new ones follow.
    if (seen.size() == order.size() && !seen.isEmpty()) {
        for (int logical = 0; logical < count; ++logical) {
            if (!seen.contains(logical))
                seen << logical;
        }
        for (int visual = 0; visual < count; ++visual)
            header.moveSection(header.visualIndex(seen[visual]), visual);
    }
    // A width of 0 is a hidden column.
    const QList<int> widths = ReadNumbers(store, settings::kColumnWidths);
    if (widths.size() <= count) {
        for (int logical = 0; logical < widths.size(); ++logical) {
            header.setSectionHidden(logical, widths[logical] <= 0);
            if (widths[logical] > 0)
                header.resizeSection(logical, widths[logical]);
        }
    }
}

}  // namespace

void RestoreWindow(const SettingsKey& store, QMainWindow& window, FileListView& view,
                   QLineEdit& filter) {
    const std::uint32_t width = store.Read(settings::kWindowWidth);
    const std::uint32_t height = store.Read(settings::kWindowHeight);
    if (width > 0 && height > 0 && width < 100000 && height < 100000)
        window.resize(int(width), int(height));
    if (store.Read(settings::kWindowMaximized))
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
    QHeaderView& header = *view.horizontalHeader();
    RestoreColumns(store, header);
    const std::uint32_t sortColumn = store.Read(settings::kSortColumn);
    if (sortColumn > 0 && int(sortColumn) <= header.count()) {
        const bool descending = store.Read(settings::kSortDescending);
        view.sortByColumn(int(sortColumn) - 1,
                          descending ? Qt::DescendingOrder : Qt::AscendingOrder);
    }
    filter.setText(ToQString(store.Read(settings::kFilterText)));
}

void RememberWindow(SettingsKey& store, const QMainWindow& window, const FileListView& view,
                    const QLineEdit& filter) {
    const bool maximized = window.isMaximized();
    store.Write(settings::kWindowMaximized, maximized);
    if (!maximized) {
        store.Write(settings::kWindowWidth, std::uint32_t(window.width()));
        store.Write(settings::kWindowHeight, std::uint32_t(window.height()));
    }
    const QHeaderView& header = *view.horizontalHeader();
    QList<int> order;
    QList<int> widths;
    for (int i = 0; i < header.count(); ++i) {
        order << header.logicalIndex(i);
        widths << header.sectionSize(i);
    }
    WriteNumbers(store, settings::kColumnOrder, order);
    WriteNumbers(store, settings::kColumnWidths, widths);
    const int sorted = header.sortIndicatorSection();
    store.Write(settings::kSortColumn, sorted < 0 ? 0 : std::uint32_t(sorted + 1));
    store.Write(settings::kSortDescending, header.sortIndicatorOrder() == Qt::DescendingOrder);
    store.Write(settings::kFilterText, ToU16(filter.text()));
}

}  // namespace velmora::ui
