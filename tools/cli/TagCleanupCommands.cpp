#include <CLI/CLI.hpp>

#include <memory>

#include "CliEnvironment.h"
#include "Command.h"
#include "FileArguments.h"
#include "Output.h"
#include "edit/ActionNames.h"
#include "tags/ops/FrameTextOps.h"

namespace velmora::cli {
namespace {

// The frames the editor's clean-up buttons work on, in their order.
constexpr FrameId kCleanedFrames[] = {"TPE1", "TALB", "TIT2"};

using Cleanup = void (*)(Mp3File& record, const EngineContext& context);

struct CleanupCommand {
    const char* name;
    const char16_t* action;
    const char* help;
    Cleanup apply;
};

constexpr CleanupCommand kCleanups[] = {
    {"copy-v1", edit::kCopyFromId3v1Action,
     "Copy title, artist, album, year, track and genre from ID3v1 into ID3v2",
     [](Mp3File& record, const EngineContext& context) {
         if (!CopyFromId3v1(record.V2(), record.V1(), context))
             Complain(PathBytes(record.DiskPath()) + ": no ID3v1 tag; nothing copied");
     }},
    {"capitalize", edit::kCapitalizeAction,
     "Upper-case the first letter and each letter after a space, underscore or hyphen in "
     "artist, album and title (a-z only)",
     [](Mp3File& record, const EngineContext& context) {
         for (const FrameId& id : kCleanedFrames)
             CapitalizeWords(record.V2(), id, context);
     }},
    {"underscores", edit::kUnderscoresAction,
     "Replace underscores by spaces in artist, album and title",
     [](Mp3File& record, const EngineContext& context) {
         for (const FrameId& id : kCleanedFrames)
             UnderscoresToSpaces(record.V2(), id, context);
     }},
};

}  // namespace

void AddTagCleanupCommands(CLI::App& app, CommandBody& chosen) {
    for (const CleanupCommand& cleanup : kCleanups) {
        auto files = std::make_shared<std::vector<std::string>>();
        auto* command = app.add_subcommand(cleanup.name, cleanup.help);
        command->add_option("FILE", *files, "MP3 files to change")->required();
        const CleanupCommand* which = &cleanup;
        command->callback([&chosen, files, which] {
            chosen = [files, which](CliEnvironment& environment) {
                return ChangeEachFile(environment, which->action, *files, [&](Mp3File& record) {
                    which->apply(record, environment.Context());
                    return true;
                });
            };
        });
    }
}

}  // namespace velmora::cli
