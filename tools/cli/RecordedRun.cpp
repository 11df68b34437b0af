#include "RecordedRun.h"

#include <CLI/CLI.hpp>

#include "CliEnvironment.h"
#include "history/HistorySession.h"
#include "history/HistoryStore.h"
#include "text/Utf8.h"

namespace velmora::cli {
namespace {

constexpr std::uint64_t kMebibyte = 1024 * 1024;

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

history::HistoryLimits HistoryLimitsOf(const SettingsKey& settings) {
    return {settings.Read(settings::kHistoryKeepDays),
            settings.Read(settings::kHistoryMaxMiB) * kMebibyte};
}

int RunRecorded(const CLI::App& app, CliEnvironment& environment, const CommandBody& command) {
    const auto chosen = app.get_subcommands();
    if (chosen.empty() || chosen.front()->get_name() == "history" ||
        !environment.Settings().Read(settings::kKeepHistory))
        return command(environment);
    history::HistorySession session(history::HistoryStore::DefaultFile(), "cli",
                                    environment.Messages());
    environment.Context().recorder = &session;
    const int code = command(environment);
    environment.Context().recorder = nullptr;
    session.Finish(Summary(*chosen.front()), HistoryLimitsOf(environment.Settings()));
    return code;
}

}  // namespace velmora::cli
