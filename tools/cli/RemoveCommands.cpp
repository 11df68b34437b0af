#include <CLI/CLI.hpp>

#include <memory>

#include "CliEnvironment.h"
#include "Command.h"
#include "FileArguments.h"
#include "Output.h"
#include "edit/ActionNames.h"

namespace velmora::cli {
namespace {

struct RemoveCommand {
    const char* name;
    const char* help;
    const char16_t* warning;
    const char16_t* question;
    const char16_t* action;
    void (Mp3File::*mark)();
};

constexpr RemoveCommand kRemovals[] = {
    {"remove-v1", "Remove the ID3v1 tag (asks first: pass --yes to remove)",
     u"All subsequent changes to the ID3v1 tag will not be saved.", u"Really remove ID3v1?",
     edit::kRemoveId3v1Action, &Mp3File::MarkRemoveV1},
    {"remove-v2", "Remove the ID3v2 tag (asks first: pass --yes to remove)",
     u"All subsequent changes to the ID3v2 tag will not be saved.", u"Really remove ID3v2?",
     edit::kRemoveId3v2Action, &Mp3File::MarkRemoveV2},
};

// The window asks once for the whole selection; so does the command, before any file.
int RunRemove(CliEnvironment& environment, const RemoveCommand& removal,
              const std::vector<std::string>& files) {
    const MessageAnswer answer =
        environment.Messages().Show(NoteMessage({removal.warning, removal.question}, kAppCaption,
                                                MessageIcon::Information, MessageButtons::YesNo));
    if (answer != MessageAnswer::Yes) {
        Complain("answered no (pass --yes to remove); nothing changed");
        return kExitOk;
    }
    return ChangeEachFile(environment, removal.action, files, [&](Mp3File& record) {
        (record.*removal.mark)();
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
                return RunRemove(environment, *which, *files);
            };
        });
    }
}

}  // namespace velmora::cli
