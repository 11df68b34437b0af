#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

#include "CliEnvironment.h"
#include "Command.h"
#include "LoadedPaths.h"
#include "RecordDump.h"

namespace velmora::cli {
namespace {

struct DumpOptions {
    std::vector<std::string> paths;
    bool json = false;
};

int RunDump(CliEnvironment& environment, const DumpOptions& options) {
    const LoadedPaths loaded = LoadPaths(environment, options.paths);
    for (const Mp3File* record : loaded.records) {
        if (options.json)
            std::cout << JsonLine(RecordJson(*record, environment.CodePage())) << '\n';
        else
            std::cout << RecordText(*record, environment.CodePage());
    }
    return loaded.failed ? kExitFailed : kExitOk;
}

}  // namespace

void AddDumpCommand(CLI::App& app, CommandBody& chosen) {
    auto options = std::make_shared<DumpOptions>();
    auto* command = app.add_subcommand("dump", "Print every tag of files or directories");
    command->add_option("PATH", options->paths, "A file, or a directory loaded as the window does")
        ->required();
    command->add_flag(
        "--json", options->json,
        "One JSON object per file and line. Names on disk that are not valid UTF-8 show U+FFFD "
        "for each invalid byte");
    command->callback([&chosen, options] {
        chosen = [options](CliEnvironment& environment) { return RunDump(environment, *options); };
    });
}

}  // namespace velmora::cli
