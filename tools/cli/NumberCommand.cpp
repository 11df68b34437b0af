#include <CLI/CLI.hpp>

#include <limits>
#include <memory>
#include <string>

#include "CliEnvironment.h"
#include "Command.h"
#include "FileArguments.h"
#include "Output.h"
#include "edit/ActionNames.h"
#include "tags/ops/FrameTextOps.h"
#include "text/Utf8.h"

namespace velmora::cli {
namespace {

struct NumberOptions {
    std::uint32_t start = 1;
    std::vector<std::string> files;
};

// Each file gets the number of its place in the list, as if its row were clicked in that
// order in track numbering mode: the whole TRCK text is replaced, a "/total" included.
int RunNumber(CliEnvironment& environment, const NumberOptions& options) {
    const std::vector<std::string> files = EachFileOnce(options.files);
    // The counter is 32 bits wide; past its end the numbers would start again at 0.
    if (files.size() - 1 > std::numeric_limits<std::uint32_t>::max() - options.start) {
        Complain("the numbers from " + std::to_string(options.start) + " for " +
                 std::to_string(files.size()) + " files would pass " +
                 std::to_string(std::numeric_limits<std::uint32_t>::max()) + "; nothing changed");
        return kExitUsage;
    }
    int failed = 0;
    std::uint32_t number = options.start;
    for (const std::string& path : files) {
        const std::u16string track = text::FromUtf8(std::to_string(number++));
        auto record = LoadFileArgument(environment, path, FileAccess::ReadWrite);
        if (!record) {
            ++failed;
            continue;
        }
        Mp3File* const one[] = {record.get()};
        environment.Journal().Apply(edit::kTrackNumberAction, one, [&] {
            SetFrameText(record->V2(), "TRCK", track, environment.Context());
        });
        if (!SaveIfNeeded(environment, *record))
            ++failed;
    }
    return failed == 0 ? kExitOk : kExitFailed;
}

}  // namespace

void AddNumberCommand(CLI::App& app, CommandBody& chosen) {
    auto options = std::make_shared<NumberOptions>();
    auto* command =
        app.add_subcommand("number", "Number the tracks (TRCK) in the order the files are given");
    command->add_option("--start", options->start, "The first number (default 1)");
    command->add_option("FILE", options->files, "MP3 files, in track order")->required();
    command->callback([&chosen, options] {
        chosen = [options](CliEnvironment& environment) {
            return RunNumber(environment, *options);
        };
    });
}

}  // namespace velmora::cli
