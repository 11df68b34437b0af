#include "export/CsvText.h"
#include "fuzz/FuzzHarness.h"

namespace velmora::fuzz {
namespace {

using Rows = std::vector<std::vector<std::u16string>>;

// What the reader accepted must come back unchanged through the writer: an export of those
// cells, read again, is the same table.
void CheckRoundTrip(const Rows& rows) {
    std::string document;
    for (const auto& row : rows)
        AppendCsvRecord(document, row);
    const CsvTable again = ReadCsv(document);
    Check(again.error.empty() && again.rows == rows, "a written document reads as another table");
}

// A lone surrogate has no UTF-8 form, so a cell holding one cannot come back as it was.
bool HasLoneSurrogate(const Rows& rows) {
    const auto lone = [](char32_t c) { return c >= 0xD800 && c <= 0xDFFF; };
    const auto holdsOne = [&](const std::u16string& cell) {
        return std::ranges::any_of(CodePoints(cell), lone);
    };
    return std::ranges::any_of(rows,
                               [&](const auto& row) { return std::ranges::any_of(row, holdsOne); });
}

}  // namespace

void CsvRead(Input input) {
    const CsvTable csv = ReadCsv({reinterpret_cast<const char*>(input.data()), input.size()});
    if (csv.error.empty())
        CheckRoundTrip(csv.rows);
    // The clipboard's text: the same bytes as tab-separated lines.
    const CsvTable tsv = ReadTsv(LenientUtf8(input));
    if (tsv.error.empty() && !HasLoneSurrogate(tsv.rows))
        CheckRoundTrip(tsv.rows);
}

}  // namespace velmora::fuzz
