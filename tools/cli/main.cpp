#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>
#include <string>
#include <string_view>

#include "CliEnvironment.h"
#include "Command.h"
#include "Output.h"
#include "RecordedRun.h"
#include "StandardOutput.h"
#include "XmlArguments.h"
#include "common/Messages.h"
#include "common/SystemReason.h"
#include "export/XmlExportDocument.h"
#include "text/Utf8.h"

// The names the messages and the XML documents carry are the version the build says.
static_assert(std::u16string_view(velmora::kAppCaption) == u"Velmora " VELMORA_VERSION);
static_assert(std::u16string_view(velmora::kXmlGeneratorName) == u"Velmora " VELMORA_VERSION);

namespace velmora::cli {
namespace {

void AddGlobalOptions(CLI::App& app, GlobalOptions& options) {
    app.add_option("--settings", options.settingsFile,
                   "Settings file to use instead of the one the window uses");
    auto* v24 = app.add_flag("--v24", options.v24, "Write ID3v2.4 tags in this run");
    auto* v23 = app.add_flag("--v23", options.v23, "Write ID3v2.3 tags in this run");
    v24->excludes(v23);
    app.add_option("--encoding", options.encoding, "Text encoding of written frames in this run")
        ->check(CLI::IsMember({"keep", "utf16", "utf16bom", "utf8"}));
    app.add_flag("-y,--yes", options.yes,
                 "Answer yes to every question (overwrite, remove) instead of no");
}

// Only these change the store: rename and from-name keep their recent expressions, an XML
// export its options when asked to. Everything else (list, dump, every --dry-run) reads it.
bool WritesSettings(const CLI::App& app) {
    for (const CLI::App* command : app.get_subcommands()) {
        const std::string& name = command->get_name();
        if (name == "rename" || name == "from-name")
            return command->count("--dry-run") == 0;
        if (name == "export")
            return command->count(std::string(kSaveOptionsFlag)) > 0;
    }
    return false;
}

std::string FailureMessage(const CLI::App* app, const CLI::Error& error) {
    return "velmora-cli: " + std::string(error.what()) + "\nRun '" + app->get_name() +
           " --help' for more information.\n";
}

int Run(int argc, char** argv) {
    CLI::App app("The Velmora tag engine from the command line.", "velmora-cli");
    app.set_version_flag("--version", "velmora-cli " VELMORA_VERSION);
    app.require_subcommand(1);
    app.fallthrough();
    app.failure_message(FailureMessage);
    GlobalOptions options;
    AddGlobalOptions(app, options);

    CommandBody chosen;
    AddListCommand(app, chosen);
    AddDumpCommand(app, chosen);
    AddSetCommand(app, chosen);
    AddTagCleanupCommands(app, chosen);
    AddRemoveCommands(app, chosen);
    AddPictureCommand(app, chosen);
    AddCommentCommand(app, chosen);
    AddExportCommand(app, chosen);
    AddImportCommand(app, chosen);
    AddRenameCommand(app, chosen);
    AddFromNameCommand(app, chosen);
    AddNumberCommand(app, chosen);
    AddHistoryCommand(app, chosen);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // A mistyped command name reaches the parser as a stray argument.
        if (!app.get_subcommands().size() && !app.remaining().empty() &&
            dynamic_cast<const CLI::RequiredError*>(&error)) {
            std::cerr << "velmora-cli: unknown command \"" << app.remaining().front()
                      << "\"\nRun 'velmora-cli --help' for the list of commands.\n";
            return kExitUsage;
        }
        const int code = app.exit(error);
        return code == 0 ? kExitOk : kExitUsage;
    }

    std::string problem;
    bool refused = false;
    options.writesSettings = WritesSettings(app);
    auto environment = CliEnvironment::Create(options, problem, refused);
    if (!environment) {
        std::cerr << "velmora-cli: cannot open the settings: " << problem << '\n';
        return refused ? kExitUsage : kExitFailed;
    }
    const int code = RunRecorded(app, *environment, chosen);
    if (code == kExitOk && environment->Messages().ErrorCount() > 0)
        return kExitFailed;
    return code;
}

// Output that did not reach its file (a full disk, a closed descriptor) fails the run.
int FinishOutput(StandardOutput& output, int code) {
    const int error = output.Finish();
    if (error == 0)
        return code;
    Complain("couldn't write to standard output: " + text::ToUtf8(SystemReasonText(error)));
    return code == kExitOk ? kExitFailed : code;
}

}  // namespace
}  // namespace velmora::cli

int main(int argc, char** argv) {
    velmora::cli::StandardOutput output;
    const int code = velmora::cli::Run(argc, argv);
    return velmora::cli::FinishOutput(output, code);
}
