#include "RecordedRun.h"

#include <CLI/CLI.hpp>

#include "CliEnvironment.h"
#include "history/HistorySession.h"
#include "scan/SaveHistory.h"
#include "text/Utf8.h"

namespace velmora::cli {
namespace {

// "set album, artist": the command and the options given, which say what it changed.
std::u16string Summary(const CLI::App& command) {
    std::string words = command.get_name();
    std::string separator = " ";
    for (const CLI::Option* option : command.get_options()) {
        if (option->count() == 0 || option->get_positional() || option->get_lnames().empty())
            continue;
        words += separator + option->get_lnames().front();
        separator = ", ";
    }
    return text::FromUtf8(words);
}

}  // namespace

int RunRecorded(const CLI::App& app, CliEnvironment& environment, const CommandBody& command) {
    const auto chosen = app.get_subcommands();
    const std::optional<SaveHistory> keep = SaveHistoryOf(environment.Settings());
    if (chosen.empty() || chosen.front()->get_name() == "history" || !keep)
        return command(environment);
    history::HistorySession session(keep->file, "cli", environment.Messages());
    environment.Context().recorder = &session;
    const int code = command(environment);
    environment.Context().recorder = nullptr;
    session.Finish(Summary(*chosen.front()), keep->limits);
    return code;
}

}  // namespace velmora::cli
