#pragma once

#include "Command.h"
#include "history/HistorySession.h"
#include "settings/SettingsStore.h"

namespace CLI {
class App;
}

namespace velmora::cli {

// Runs the chosen command with the history of saves recording what it writes (unless the user
// keeps none), as one batch named after the command and its options.
// The limits the user set for the history.
history::HistoryLimits HistoryLimitsOf(const SettingsKey& settings);

int RunRecorded(const CLI::App& app, CliEnvironment& environment, const CommandBody& command);

}  // namespace velmora::cli
