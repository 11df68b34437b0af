#pragma once

#include <functional>

namespace CLI {
class App;
}

namespace velmora::cli {

class CliEnvironment;

// Exit codes of every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // some file failed; the others were still processed
inline constexpr int kExitUsage = 2;

// What the chosen command does once the environment is open; returns the exit code.
using CommandBody = std::function<int(CliEnvironment&)>;

// Each adds its subcommand to the application; when the user picks it, parsing stores the
// command's body in `chosen`.
void AddListCommand(CLI::App& app, CommandBody& chosen);
void AddDumpCommand(CLI::App& app, CommandBody& chosen);
void AddSetCommand(CLI::App& app, CommandBody& chosen);
void AddTagCleanupCommands(CLI::App& app, CommandBody& chosen);
void AddRemoveCommands(CLI::App& app, CommandBody& chosen);
void AddPictureCommand(CLI::App& app, CommandBody& chosen);
void AddCommentCommand(CLI::App& app, CommandBody& chosen);
void AddExportCommand(CLI::App& app, CommandBody& chosen);
void AddImportCommand(CLI::App& app, CommandBody& chosen);
void AddNumberCommand(CLI::App& app, CommandBody& chosen);
void AddRenameCommand(CLI::App& app, CommandBody& chosen);
void AddFromNameCommand(CLI::App& app, CommandBody& chosen);
void AddHistoryCommand(CLI::App& app, CommandBody& chosen);

}  // namespace velmora::cli
