#include <CLI/CLI.hpp>

#include <chrono>
#include <iostream>
#include <memory>
#include <thread>

#include "CliEnvironment.h"
#include "Command.h"
#include "Output.h"
#include "scan/FileListColumns.h"
#include "scan/LoaderThread.h"
#include "text/FileName.h"

namespace velmora::cli {
namespace {

struct ListOptions {
    std::string directory;
    bool recursive = false;
    bool notRecursive = false;
};

// Filename and Directory are names on disk: their bytes are printed.
bool IsNameColumn(Column column) {
    return column == Column::Filename || column == Column::Directory;
}

template <typename CellOf>
void PrintRow(const CellOf& cellOf) {
    std::string line;
    for (const Column column : kColumns) {
        if (column != kColumns.front())
            line += '\t';
        const std::u16string cell = cellOf(column);
        line += IsNameColumn(column) ? PathBytes(cell) : Printable(cell);
    }
    std::cout << line << '\n';
}

void PrintHeader() {
    PrintRow([](Column column) { return std::u16string(ColumnInfoOf(column).header); });
}

// Prints rows as the loader appends them, as the window adds them on its ticks.
int RunList(CliEnvironment& environment, const ListOptions& options) {
    if (!std::filesystem::is_directory(options.directory)) {
        Complain(options.directory + ": not a directory");
        return kExitFailed;
    }
    if (options.recursive || options.notRecursive)
        environment.Overlay().OverrideRecurse(options.recursive);
    LoaderThread loader(environment.Context());
    loader.SetDirectory(text::FileNameToText(options.directory));
    PrintHeader();
    loader.Start();
    std::size_t shown = 0;
    for (bool finished = false; !finished;) {
        finished = !loader.IsRunning();
        for (const Mp3File* record : loader.Records().From(shown)) {
            PrintRow(
                [&](Column column) { return CellText(*record, column, environment.CodePage()); });
            ++shown;
        }
        std::cout.flush();
        if (!finished)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    loader.Join();
    // A file that loaded with a message is still listed, but the run reports it.
    return environment.Messages().MessageCount() > 0 ? kExitFailed : kExitOk;
}

}  // namespace

void AddListCommand(CLI::App& app, CommandBody& chosen) {
    auto options = std::make_shared<ListOptions>();
    auto* command = app.add_subcommand(
        "list", "Load a directory as the window does and print its file list, tab-separated");
    command->add_option("DIR", options->directory, "Directory to load")->required();
    auto* on = command->add_flag("--recursive", options->recursive,
                                 "Walk subdirectories (default: the Recurse setting)");
    auto* off =
        command->add_flag("--no-recursive", options->notRecursive, "Do not walk subdirectories");
    on->excludes(off);
    command->callback([&chosen, options] {
        chosen = [options](CliEnvironment& environment) { return RunList(environment, *options); };
    });
}

}  // namespace velmora::cli
