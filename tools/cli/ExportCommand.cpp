#include <CLI/CLI.hpp>

#include "Command.h"

namespace velmora::cli {

void AddExportCommand(CLI::App&, CommandBody&) {}

}  // namespace velmora::cli
