#include <CLI/CLI.hpp>

#include <memory>

#include "CliEnvironment.h"
#include "Command.h"
#include "FileArguments.h"
#include "Output.h"
#include "edit/TagRemoval.h"

namespace velmora::cli {
namespace {

struct RemoveCommand {
    const char* name;
    const char* help;
    const edit::TagRemoval& removal;
};

const RemoveCommand kRemovals[] = {
    {"remove-v1", "Remove the ID3v1 tag (asks first: pass --yes to remove)", edit::kRemoveId3v1},
    {"remove-v2", "Remove the ID3v2 tag (asks first: pass --yes to remove)", edit::kRemoveId3v2},
};

// The window asks once for the whole selection; so does the command, before any file.
int RunRemove(CliEnvironment& environment, const edit::TagRemoval& removal,
              const std::vector<std::string>& files) {
    if (environment.Messages().Show(removal.Question()) != MessageAnswer::Yes) {
        Complain("answered no (pass --yes to remove); nothing changed");
        return kExitOk;
    }
    return ChangeEachFile(environment, removal.action, files, [&](Mp3File& record) {
        removal.Apply(record);
        return true;
    });
}

}  // namespace

void AddRemoveCommands(CLI::App& app, CommandBody& chosen) {
    for (const RemoveCommand& removal : kRemovals) {
        auto files = std::make_shared<std::vector<std::string>>();
        auto* command = app.add_subcommand(removal.name, removal.help);
        command->add_option("FILE", *files, "MP3 files to change")->required();
        const RemoveCommand* which = &removal;
        command->callback([&chosen, files, which] {
            chosen = [files, which](CliEnvironment& environment) {
                return RunRemove(environment, which->removal, *files);
            };
        });
    }
}

}  // namespace velmora::cli
