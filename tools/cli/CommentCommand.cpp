#include <CLI/CLI.hpp>

#include <memory>

#include "CliEnvironment.h"
#include "Command.h"
#include "FileArguments.h"
#include "Output.h"
#include "edit/ActionNames.h"
#include "edit/CommentEdits.h"
#include "text/Utf8.h"

namespace velmora::cli {
namespace {

struct CommentOptions {
    std::string description;
    CLI::Option* descriptionOption = nullptr;
    std::string language;
    std::vector<std::string> files;
};

int RunRemove(CliEnvironment& environment, const CommentOptions& options) {
    edit::CommentFilter filter;
    if (options.descriptionOption->count() > 0)
        filter.description = text::FromUtf8(options.description);
    if (!options.language.empty()) {
        if (options.language.size() != 3) {
            Complain("--language: three letters, such as eng");
            return kExitUsage;
        }
        filter.language = options.language;
    }
    const std::u16string_view action = filter.description || filter.language
                                           ? edit::kDeleteCommentAction
                                           : edit::kDeleteAllCommentsAction;
    return ChangeEachFile(environment, action, options.files, [&](Mp3File& record) {
        edit::DeleteComments(record, filter, environment.Context().codePage);
        return true;
    });
}

}  // namespace

void AddCommentCommand(CLI::App& app, CommandBody& chosen) {
    auto* comment = app.add_subcommand("comment", "Remove comments (set --comment sets one)");
    comment->require_subcommand(1);
    auto options = std::make_shared<CommentOptions>();
    auto* remove = comment->add_subcommand(
        "remove",
        "Remove the comments with the description and the language given, or every "
        "comment when neither is given");
    remove->add_option("MP3", options->files, "MP3 files to change")->required();
    options->descriptionOption = remove->add_option("--description", options->description,
                                                    "Only comments with this short description");
    remove->add_option("--language", options->language,
                       "Only comments in this language, three letters as stored (eng, fra, ...)");
    remove->callback([&chosen, options] {
        chosen = [options](CliEnvironment& environment) {
            return RunRemove(environment, *options);
        };
    });
}

}  // namespace velmora::cli
