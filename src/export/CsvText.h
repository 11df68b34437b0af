#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// Comma-separated values as RFC 4180 has them, in UTF-8.

// Appends one record: every field quoted (a quote doubled), so that a spreadsheet that takes
// quoted fields as text keeps "0042", "=1+1" and leading spaces as they are; CRLF ends it.
void AppendCsvRecord(std::string& out, const std::vector<std::u16string>& fields);
// Tab-separated, as spreadsheets put rows on the clipboard: only a field that holds a tab, a
// line break or a quote is quoted; LF ends the record.
void AppendTsvRecord(std::u16string& out, const std::vector<std::u16string>& fields);

// The records of a document, or why it is none.
struct CsvTable {
    std::vector<std::vector<std::u16string>> rows;
    // Where reading stopped: "line N: why"; empty when the whole document was read.
    std::u16string error;
};
// Reads a document: a UTF-8 byte order mark is skipped; fields are separated by commas, or by
// semicolons or tabs when one of those comes first outside quotes in the first record (as
// spreadsheets in many locales save); records end in CRLF or LF; quoted fields hold separators,
// quotes and line breaks; a last line break is optional. An open quote at the end and text
// after a closing quote are errors; bytes that are not UTF-8 read as U+FFFD.
CsvTable ReadCsv(std::string_view document);
// Tab-separated text the same way, where a quote inside a field that does not start with one
// is a quote (text from anywhere may hold one).
CsvTable ReadTsv(std::u16string_view text);

}  // namespace velmora
