#pragma once

#include "Command.h"

namespace CLI {
class App;
}

namespace velmora::cli {

// Runs the chosen command with the history of saves recording what it writes (unless the user
// keeps none), as one batch named after the command and its options.
int RunRecorded(const CLI::App& app, CliEnvironment& environment, const CommandBody& command);

}  // namespace velmora::cli
