#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>
#include <memory>

#include "CliEnvironment.h"
#include "Command.h"
#include "FileArguments.h"
#include "RecordDump.h"
#include "scan/LoaderThread.h"
#include "text/FileName.h"

namespace velmora::cli {
namespace {

struct DumpOptions {
    std::vector<std::string> paths;
    bool json = false;
};

void Print(const Mp3File& record, const CliEnvironment& environment, bool json) {
    if (json)
        std::cout << JsonLine(RecordJson(record, environment.CodePage())) << '\n';
    else
        std::cout << RecordText(record, environment.CodePage());
}

// A directory loads exactly as the window loads it.
void DumpDirectory(CliEnvironment& environment, const std::string& path, bool json) {
    LoaderThread loader(environment.Context());
    loader.SetDirectory(text::FileNameToText(path));
    loader.Start();
    loader.Join();
    for (const Mp3File* record : loader.Records().All())
        Print(*record, environment, json);
}

int RunDump(CliEnvironment& environment, const DumpOptions& options) {
    bool failed = false;
    for (const std::string& path : options.paths) {
        const int messagesBefore = environment.Messages().MessageCount();
        if (std::filesystem::is_directory(path)) {
            DumpDirectory(environment, path, options.json);
        } else if (!CheckFileArgument(path, FileAccess::Read)) {
            failed = true;
        } else {
            bool clean = true;
            Print(*LoadRecord(environment, path, clean), environment, options.json);
        }
        std::cout.flush();
        failed = failed || environment.Messages().MessageCount() != messagesBefore;
    }
    return failed ? kExitFailed : kExitOk;
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
