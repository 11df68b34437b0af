#include "export/CsvImport.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "export/CsvExporter.h"
#include "export/CsvText.h"
#include "export/FileUri.h"
#include "tags/record/Mp3File.h"
#include "text/Utf8.h"

namespace velmora {
namespace {

// A header cell names the column as typed in a spreadsheet may: in any case of its letters,
// with blanks around it.
bool Names(std::u16string_view cell, std::u16string_view name) {
    const auto blank = [](char16_t c) { return c == u' ' || c == u'\t'; };
    while (!cell.empty() && blank(cell.front()))
        cell.remove_prefix(1);
    while (!cell.empty() && blank(cell.back()))
        cell.remove_suffix(1);
    const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
    return std::ranges::equal(cell, name, {}, lower, lower);
}

std::optional<Column> ColumnNamed(std::u16string_view header) {
    for (const Column column : kCsvColumns) {
        if (Names(header, ColumnInfoOf(column).header))
            return column;
    }
    return std::nullopt;
}

std::u16string Quoted(std::u16string_view text) {
    return u"\"" + std::u16string(text) + u"\"";
}

// The columns of the header after the path; an error when it does not do.
std::u16string ReadHeader(const std::vector<std::u16string>& header, CsvImportTable& table) {
    if (header.empty() || !Names(header.front(), kCsvPathHeader))
        return u"the first column of the header must be " + Quoted(kCsvPathHeader);
    for (std::size_t i = 1; i < header.size(); ++i) {
        const auto column = ColumnNamed(header[i]);
        if (!column)
            return u"the header names an unknown column " + Quoted(header[i]);
        if (std::find(table.columns.begin(), table.columns.end(), *column) != table.columns.end())
            return u"the header names the column " + Quoted(header[i]) + u" twice";
        table.columns.push_back(*column);
    }
    return {};
}

std::u16string Number(std::size_t n) {
    return text::FromUtf8(std::to_string(n));
}

// The record with the file name, when exactly one has it.
class RecordIndex {
  public:
    explicit RecordIndex(std::span<Mp3File* const> records) {
        for (Mp3File* record : records) {
            byPath_.emplace(record->DiskPath(), record);
            auto [at, fresh] = byName_.emplace(record->DiskName(), record);
            if (!fresh)
                at->second = nullptr;
        }
    }

    Mp3File* Find(const std::u16string& path) const {
        if (const auto found = byPath_.find(path); found != byPath_.end())
            return found->second;
        const std::size_t slash = path.find_last_of(u'/');
        const auto named =
            byName_.find(slash == std::u16string::npos ? path : path.substr(slash + 1));
        return named == byName_.end() ? nullptr : named->second;
    }

  private:
    std::unordered_map<std::u16string, Mp3File*> byPath_;
    std::unordered_map<std::u16string, Mp3File*> byName_;
};

// Rows count from the header's, 1, as a spreadsheet shows them.
Message SharedRowsRefusal(const Mp3File& record, std::size_t firstRow, std::size_t laterRow) {
    return NoteMessage(
        {record.Name() + u": rows " + Number(firstRow + 2) + u" and " + Number(laterRow + 2) +
         u" of the table both name this file, so none of its rows is imported"},
        kErrorCaption, MessageIcon::Warning);
}

}  // namespace

CsvImportTable ReadCsvImport(std::string_view document) {
    CsvImportTable table;
    CsvTable csv = ReadCsv(document);
    if (!csv.error.empty()) {
        table.error = csv.error;
        return table;
    }
    if (csv.rows.empty()) {
        table.error = u"the file is empty";
        return table;
    }
    table.error = ReadHeader(csv.rows.front(), table);
    for (std::size_t i = 1; i < csv.rows.size() && table.error.empty(); ++i) {
        std::vector<std::u16string>& fields = csv.rows[i];
        if (fields.size() != table.columns.size() + 1) {
            table.error = u"row " + Number(i + 1) + u" has " + Number(fields.size()) +
                          u" fields where the header has " + Number(table.columns.size() + 1);
            break;
        }
        CsvImportTable::Row row{PathOfFileUri(fields.front()), {}};
        row.cells.assign(std::make_move_iterator(fields.begin() + 1),
                         std::make_move_iterator(fields.end()));
        table.rows.push_back(std::move(row));
    }
    if (!table.error.empty())
        table.rows.clear();
    return table;
}

CsvImportEdits MatchCsvImport(const CsvImportTable& table, std::span<Mp3File* const> records) {
    CsvImportEdits edits;
    const RecordIndex index(records);
    std::vector<Mp3File*> matched(table.rows.size());
    std::unordered_map<Mp3File*, std::size_t> firstRow;
    std::unordered_set<Mp3File*> shared;
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        if (!(matched[i] = index.Find(table.rows[i].path))) {
            edits.unmatched.push_back(table.rows[i].path);
            continue;
        }
        const auto [first, fresh] = firstRow.emplace(matched[i], i);
        if (!fresh && shared.insert(matched[i]).second)
            edits.refusals.push_back(SharedRowsRefusal(*matched[i], first->second, i));
    }
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        if (!matched[i] || shared.contains(matched[i]))
            continue;
        for (std::size_t c = 0; c < table.columns.size(); ++c) {
            if (batch::IsEditableColumn(table.columns[c]))
                edits.wanted.push_back({matched[i], table.columns[c], table.rows[i].cells[c]});
        }
    }
    return edits;
}

CsvImportPlan FinishCsvImport(CsvImportEdits matched, batch::CellPlan checked) {
    checked.refusals.insert(checked.refusals.begin(), matched.refusals.begin(),
                            matched.refusals.end());
    return {std::move(checked), std::move(matched.unmatched)};
}

CsvImportPlan PlanCsvImport(const CsvImportTable& table, std::span<Mp3File* const> records,
                            const text::CodePage& codePage) {
    CsvImportEdits matched = MatchCsvImport(table, records);
    batch::CellPlan checked = batch::PlanCellEdits(std::move(matched.wanted), codePage);
    return FinishCsvImport(std::move(matched), std::move(checked));
}

}  // namespace velmora
