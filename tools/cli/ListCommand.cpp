#include <CLI/CLI.hpp>

#include <algorithm>
#include <chrono>
#include <iostream>
#include <memory>

#include "CliEnvironment.h"
#include "Command.h"
#include "DoneSignal.h"
#include "Output.h"
#include "RecordDump.h"
#include "scan/FileListColumns.h"
#include "scan/LoaderThread.h"
#include "text/Ascii.h"
#include "text/FileName.h"
#include "text/Utf8.h"

namespace velmora::cli {
namespace {

struct ListOptions {
    std::string directory;
    bool recursive = false;
    bool notRecursive = false;
    bool json = false;
};

// Filename and Directory are names on disk: their bytes, not their text.
bool IsNameColumn(Column column) {
    return column == Column::Filename || column == Column::Directory;
}

std::string Cell(const std::u16string& cell, Column column) {
    return IsNameColumn(column) ? PathBytes(cell) : Printable(cell);
}

// A tab or line break inside a tag or name would split the row: one file is one line.
std::string Escaped(std::string_view cell) {
    std::string out;
    out.reserve(cell.size());
    for (char c : cell) {
        switch (c) {
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\\':
                out += "\\\\";
                break;
            default:
                out += c;
        }
    }
    return out;
}

template <typename CellOf>
std::string TabRow(const CellOf& cellOf) {
    std::string line;
    for (const Column column : kColumns) {
        if (column != kColumns.front())
            line += '\t';
        line += Escaped(Cell(cellOf(column), column));
    }
    return line;
}

// The column headers in lower case as keys, in column order.
template <typename CellOf>
std::string JsonRow(const CellOf& cellOf) {
    nlohmann::ordered_json row = nlohmann::ordered_json::object();
    for (const Column column : kColumns) {
        const std::string key =
            text::AsciiLower(text::ToUtf8(std::u16string(ColumnInfoOf(column).header)));
        row[key] = Cell(cellOf(column), column);
    }
    return JsonLine(row);
}

template <typename CellOf>
void PrintRow(const CellOf& cellOf, bool json) {
    std::cout << (json ? JsonRow(cellOf) : TabRow(cellOf)) << '\n';
}

void PrintHeader() {
    PrintRow([](Column column) { return std::u16string(ColumnInfoOf(column).header); }, false);
}

// Prints rows as the loader appends them, as the window adds them on its ticks.
int RunList(CliEnvironment& environment, const ListOptions& options) {
    if (!std::filesystem::is_directory(options.directory)) {
        Complain(options.directory + ": not a directory");
        return kExitFailed;
    }
    if (options.recursive || options.notRecursive)
        environment.OverrideRecurse(options.recursive);
    // Declared before the loader, so that it outlives the worker that signals it.
    DoneSignal done;
    LoaderThread loader(environment.Context());
    loader.SetDirectory(text::FileNameToText(options.directory));
    loader.SetRecurse(environment.Recurse());
    if (!options.json)
        PrintHeader();
    loader.Start(done.Callback());
    std::size_t shown = 0;
    for (bool finished = false; !finished;) {
        // Rows loaded so far are printed on each tick; the end of the load wakes us at once.
        finished = done.WaitFor(std::chrono::milliseconds(100));
        for (const Mp3File* record : loader.Records().From(shown)) {
            PrintRow(
                [&](Column column) { return CellText(*record, column, environment.CodePage()); },
                options.json);
            ++shown;
        }
        std::cout.flush();
    }
    loader.Join();
    // A file whose load failed is still listed, but the run reports it.
    return loader.Progress().failed > 0 ? kExitFailed : kExitOk;
}

}  // namespace

void AddListCommand(CLI::App& app, CommandBody& chosen) {
    auto options = std::make_shared<ListOptions>();
    auto* command = app.add_subcommand("list",
                                       "Load a directory as the window does and "
                                       "print its file list, tab-separated (a tab, "
                                       "line break or backslash inside a cell is "
                                       "written \\t, \\n, \\r or \\\\)");
    command->add_option("DIR", options->directory, "Directory to load")->required();
    auto* on = command->add_flag("--recursive", options->recursive,
                                 "Walk subdirectories (default: the Recurse setting)");
    auto* off =
        command->add_flag("--no-recursive", options->notRecursive, "Do not walk subdirectories");
    on->excludes(off);
    command->add_flag("--json", options->json,
                      "One JSON object per file and line, keyed by column; names on disk that "
                      "are not valid UTF-8 show U+FFFD for each invalid byte");
    command->callback([&chosen, options] {
        chosen = [options](CliEnvironment& environment) { return RunList(environment, *options); };
    });
}

}  // namespace velmora::cli
