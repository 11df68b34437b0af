#include "export/CsvText.h"

#include "text/Utf8.h"

namespace velmora {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Walks a document one field at a time.
class CsvReader {
  public:
    // `strictQuotes`: a quote inside a field that does not start with one is an error.
    CsvReader(std::string_view document, char separator, bool strictQuotes)
        : text_(document), separator_(separator), strictQuotes_(strictQuotes) {
        if (text_.starts_with(kByteOrderMark))
            at_ = kByteOrderMark.size();
    }

    CsvTable Read() {
        CsvTable table;
        std::vector<std::u16string> row;
        while (at_ < text_.size()) {
            std::string field;
            if (!ReadField(field)) {
                table.error = u"line " + text::FromUtf8(std::to_string(line_)) + u": " + why_;
                return table;
            }
            row.push_back(text::FromUtf8(field));
            if (EndOfRecord()) {
                table.rows.push_back(std::move(row));
                row.clear();
            }
        }
        if (!row.empty()) {
            row.emplace_back();  // after a comma at the very end
            table.rows.push_back(std::move(row));
        }
        return table;
    }

  private:
    bool ReadField(std::string& field) {
        if (at_ < text_.size() && text_[at_] == '"')
            return ReadQuoted(field);
        while (at_ < text_.size() && text_[at_] != separator_ && text_[at_] != '\n' &&
               text_[at_] != '\r') {
            if (text_[at_] == '"' && strictQuotes_)
                return Fail(u"a quote inside a field that does not start with one");
            field += text_[at_++];
        }
        return true;
    }

    bool ReadQuoted(std::string& field) {
        const std::size_t startLine = line_;
        ++at_;
        for (;;) {
            if (at_ >= text_.size()) {
                line_ = startLine;
                return Fail(u"a quoted field is not closed");
            }
            const char c = text_[at_++];
            if (c == '"') {
                if (at_ < text_.size() && text_[at_] == '"') {
                    field += '"';
                    ++at_;
                    continue;
                }
                break;
            }
            if (c == '\n')
                ++line_;
            field += c;
        }
        if (at_ < text_.size() && text_[at_] != separator_ && text_[at_] != '\n' &&
            text_[at_] != '\r')
            return Fail(u"text after the closing quote of a field");
        return true;
    }

    // Steps over the comma after a field (false) or the line break that ends a record (true).
    bool EndOfRecord() {
        if (at_ >= text_.size())
            return true;
        if (text_[at_] == separator_) {
            ++at_;
            return false;
        }
        if (text_[at_] == '\r')
            ++at_;
        if (at_ < text_.size() && text_[at_] == '\n')
            ++at_;
        ++line_;
        return true;
    }

    bool Fail(std::u16string_view why) {
        why_ = why;
        return false;
    }

    std::string_view text_;
    char separator_;
    bool strictQuotes_;
    std::size_t at_ = 0;
    std::size_t line_ = 1;
    std::u16string why_;
};

// A spreadsheet whose locale writes decimals with a comma saves its CSV with semicolons, and
// some save tabs: the first of these outside quotes in the first record is the separator.
char SeparatorOf(std::string_view document) {
    bool quoted = false;
    for (const char c : document) {
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && (c == ',' || c == ';' || c == '\t')) {
            return c;
        } else if (!quoted && (c == '\n' || c == '\r')) {
            break;
        }
    }
    return ',';
}

}  // namespace

void AppendCsvRecord(std::string& out, const std::vector<std::u16string>& fields) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += ',';
        out += '"';
        for (const char c : text::ToUtf8(fields[i])) {
            if (c == '"')
                out += '"';
            out += c;
        }
        out += '"';
    }
    out += "\r\n";
}

void AppendTsvRecord(std::u16string& out, const std::vector<std::u16string>& fields) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += u'\t';
        const std::u16string& field = fields[i];
        if (field.find_first_of(u"\t\r\n\"") == std::u16string::npos) {
            out += field;
            continue;
        }
        out += u'"';
        for (const char16_t c : field) {
            if (c == u'"')
                out += u'"';
            out += c;
        }
        out += u'"';
    }
    out += u'\n';
}

CsvTable ReadCsv(std::string_view document) {
    return CsvReader(document, SeparatorOf(document), true).Read();
}

CsvTable ReadTsv(std::u16string_view text) {
    const std::string utf8 = text::ToUtf8(text);
    return CsvReader(utf8, '\t', false).Read();
}

}  // namespace velmora
