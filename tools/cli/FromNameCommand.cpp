#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

#include "CliEnvironment.h"
#include "Command.h"
#include "FileArguments.h"
#include "Output.h"
#include "RecordDump.h"
#include "batch/GenerateCommand.h"
#include "batch/regex/RegexEngine.h"
#include "edit/ActionNames.h"
#include "text/FileName.h"
#include "text/Utf8.h"

namespace velmora::cli {
namespace {

struct FromNameOptions {
    bool dryRun = false;
    bool json = false;
    std::string expression;
    std::vector<std::string> files;
};

// What every named group of the expression captured from each name, applied or not.
void PrintPreview(const FileBatch& batch, regex::RegexEngine& engine, bool json,
                  const text::CodePage& codePage) {
    for (std::size_t i = 0; i < batch.records.size(); ++i) {
        const bool match =
            engine.Search(text::DecodeEscapedBytes(batch.records[i]->Name(), codePage));
        nlohmann::ordered_json groups = nlohmann::ordered_json::object();
        if (match) {
            for (const std::u16string& name : engine.GroupNames())
                groups[Printable(name)] = Printable(engine.GroupText(name));
        }
        if (json) {
            std::cout << JsonLine({{"file", batch.paths[i]}, {"match", match}, {"groups", groups}})
                      << '\n';
            continue;
        }
        std::cout << batch.paths[i] << ':';
        if (!match)
            std::cout << " no match";
        for (const auto& [name, value] : groups.items())
            std::cout << ' ' << name << "=\"" << value.get<std::string>() << '"';
        std::cout << '\n';
    }
}

int RunFromName(CliEnvironment& environment, const FromNameOptions& options) {
    const std::u16string expression = text::FromUtf8(options.expression);
    regex::RegexEngine engine;
    try {
        engine.Compile(expression);
    } catch (regex::REGEXPERROR) {
        ShowError(environment.Messages(), MessageKind::ExpressionNotParsed, {});
        return kExitUsage;
    }
    FileBatch files = LoadFileBatch(environment, options.files,
                                    options.dryRun ? FileAccess::Read : FileAccess::ReadWrite);
    if (options.dryRun) {
        PrintPreview(files, engine, options.json, environment.CodePage());
        return files.failed == 0 ? kExitOk : kExitFailed;
    }
    // One file at a time, so that a name that does not match can be named.
    for (std::size_t i = 0; i < files.records.size(); ++i) {
        const int before = environment.Messages().MessageCount();
        const std::vector<Mp3File*> one = {files.records[i].get()};
        environment.Journal().Apply(edit::kGenerateAction, one, [&] {
            batch::GenerateTagsFromNames(expression, one, environment.Settings(),
                                         environment.Context());
        });
        if (environment.Messages().MessageCount() != before)
            Complain(files.paths[i] + ": not changed");
    }
    return SaveFileBatch(environment, files);
}

}  // namespace

void AddFromNameCommand(CLI::App& app, CommandBody& chosen) {
    auto options = std::make_shared<FromNameOptions>();
    auto* command =
        app.add_subcommand("from-name",
                           "Fill artist, album, title, track and genre from the file names with a "
                           "regular expression whose named groups name the fields");
    auto* dryRun = command->add_flag("--dry-run", options->dryRun,
                                     "Change nothing; print what each named group captured");
    command->add_flag("--json", options->json, "With --dry-run: one JSON object per file")
        ->needs(dryRun);
    command
        ->add_option("REGEX", options->expression, "e.g. \"(?P<artist>.*) - (?P<title>.*)\\.mp3\"")
        ->required();
    command->add_option("FILE", options->files, "MP3 files to change")->required();
    command->callback([&chosen, options] {
        chosen = [options](CliEnvironment& environment) {
            return RunFromName(environment, *options);
        };
    });
}

}  // namespace velmora::cli
