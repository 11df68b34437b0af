#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

#include "CliEnvironment.h"
#include "Command.h"
#include "FileArguments.h"
#include "Output.h"
#include "RecordDump.h"
#include "batch/RenameCommand.h"
#include "edit/ActionNames.h"
#include "text/Utf8.h"

namespace velmora::cli {
namespace {

struct RenameOptions {
    bool dryRun = false;
    bool json = false;
    std::string pattern;
    std::vector<std::string> files;
};

// Prints each file's new name and reports, as the real run would, each rename that would
// fail; returns how many would.
int PrintPreview(const FileBatch& batch, const batch::RenamePattern& pattern,
                 CliEnvironment& environment, bool json) {
    const auto previews = batch::PreviewRename(pattern, batch.Records(), environment.CodePage());
    int refused = 0;
    for (std::size_t i = 0; i < previews.size(); ++i) {
        const batch::RenamePreview& preview = previews[i];
        const Mp3File& record = *batch.records[i];
        if (json) {
            nlohmann::ordered_json line = {{"file", batch.paths[i]},
                                           {"name", PathBytes(preview.newName)}};
            if (preview.refusal)
                line["refused"] = Printable(MessageText(*preview.refusal, u" "));
            std::cout << JsonLine(line) << '\n';
        } else {
            std::cout << PathBytes(record.Name()) << " -> " << PathBytes(preview.newName) << '\n';
        }
        if (preview.refusal) {
            environment.Messages().Show(*preview.refusal);
            ++refused;
        }
    }
    return refused;
}

int RunRename(CliEnvironment& environment, const RenameOptions& options) {
    const std::u16string expression = text::FromUtf8(options.pattern);
    auto compiled = batch::CompileRenamePattern(expression);
    if (!compiled.pattern) {
        ShowError(environment.Messages(), MessageKind::UnrecognizedField, {}, {},
                  compiled.unrecognizedField);
        return kExitUsage;
    }
    // The dry run checks the files as the real run does, to fail where it would.
    FileBatch files = LoadFileBatch(environment, options.files, FileAccess::ReadWrite);
    if (options.dryRun) {
        const int refused = PrintPreview(files, *compiled.pattern, environment, options.json);
        return files.failed == 0 && refused == 0 ? kExitOk : kExitFailed;
    }
    const std::vector<Mp3File*> records = files.Records();
    environment.Journal().Apply(edit::kRenameAction, records, [&] {
        std::vector<Mp3File*> renamed = records;
        batch::RenameBatch(expression, renamed, environment.Settings(), environment.Context());
    });
    return SaveFileBatch(environment, files);
}

}  // namespace

void AddRenameCommand(CLI::App& app, CommandBody& chosen) {
    auto options = std::make_shared<RenameOptions>();
    auto* command = app.add_subcommand(
        "rename",
        "Rename files from a pattern of %artist, %album, %title, %track, %year and "
        "%genre (\".mp3\" is added)");
    auto* dryRun = command->add_flag(
        "--dry-run", options->dryRun,
        "Change nothing; print old name -> new name, and each rename the real run would refuse "
        "(the same exit code)");
    command->add_flag("--json", options->json, "With --dry-run: one JSON object per file")
        ->needs(dryRun);
    command->add_option("PATTERN", options->pattern, "e.g. \"%artist - %track - %title\"")
        ->required();
    command->add_option("FILE", options->files, "MP3 files to rename")->required();
    command->callback([&chosen, options] {
        chosen = [options](CliEnvironment& environment) {
            return RunRename(environment, *options);
        };
    });
}

}  // namespace velmora::cli
