#include <CLI/CLI.hpp>

#include <sys/stat.h>

#include <filesystem>
#include <memory>
#include <system_error>

#include "CliEnvironment.h"
#include "Command.h"
#include "LoadedPaths.h"
#include "Output.h"
#include "XmlArguments.h"
#include "export/CsvExporter.h"
#include "export/ExportedFileOfRecord.h"
#include "export/M3uExporter.h"
#include "export/PlsExporter.h"
#include "text/CodePage.h"
#include "text/FileName.h"
#include "text/LocaleCodePage.h"

namespace velmora::cli {
namespace {

struct ExportOptions {
    std::string format;
    std::string output;
    std::vector<std::string> paths;
    XmlArguments xml;
};

// What the run needs alive while the exporter works.
struct ExporterParts {
    // The text of playlists is in the locale's encoding; the code page setting is for tags.
    std::unique_ptr<text::CodePage> playlistText = text::LocaleCodePage();
    std::unique_ptr<XmlOptionsPrompt> prompt;
    std::unique_ptr<Exporter> exporter;
};

ExporterParts MakeExporter(CliEnvironment& environment, const std::string& format,
                           XmlOptionChanges changes) {
    ExporterParts parts;
    if (format == "m3u") {
        parts.exporter = std::make_unique<M3uExporter>(*parts.playlistText);
    } else if (format == "m3u8") {
        // The same playlist in UTF-8, whatever the target's name.
        parts.exporter = std::make_unique<M3uExporter>(*parts.playlistText, PlaylistEncoding::Utf8);
    } else if (format == "csv") {
        parts.exporter = std::make_unique<CsvExporter>(environment.CodePage());
    } else if (format == "pls") {
        parts.exporter = std::make_unique<PlsExporter>(*parts.playlistText);
    } else {
        parts.prompt = std::make_unique<ArgumentXmlOptions>(std::move(changes));
        parts.exporter = std::make_unique<XmlExporter>(environment.XmlSettings(), *parts.prompt);
    }
    return parts;
}

// Folders as the window names them, absolute and without "." parts: "x", "./x" and "x/" are one
// folder (one Directory group), and a "Full file path" leads to the file from anywhere.
std::vector<std::string> AbsolutePaths(const std::vector<std::string>& paths) {
    std::vector<std::string> absolute;
    for (const std::string& path : paths) {
        std::error_code error;
        std::filesystem::path full = std::filesystem::absolute(path, error).lexically_normal();
        if (error) {
            absolute.push_back(path);
            continue;
        }
        if (!full.has_filename() && full.has_relative_path())
            full = full.parent_path();  // a trailing separator
        absolute.push_back(full.string());
    }
    return absolute;
}

// The window's Save dialog asks before it replaces a file; so does the command.
bool MayWrite(CliEnvironment& environment, const std::string& output) {
    struct stat info {};
    if (stat(output.c_str(), &info) != 0 || S_ISDIR(info.st_mode))
        return true;
    const MessageAnswer answer = environment.Messages().Show(NoteMessage(
        {text::FileNameToText(output) + u" already exists.", u"Do you want to replace it?"},
        kAppCaption, MessageIcon::Warning, MessageButtons::YesNo));
    return answer == MessageAnswer::Yes;
}

int RunExport(CliEnvironment& environment, const ExportOptions& options) {
    XmlOptionChanges changes = [](XmlExportOptions&) {};
    if (options.format == "xml" && !ParseXmlArguments(options.xml, changes))
        return kExitUsage;
    if (!MayWrite(environment, options.output)) {
        Complain("answered no (pass --yes to replace); nothing written");
        return kExitOk;
    }
    const LoadedPaths loaded = LoadPaths(environment, AbsolutePaths(options.paths));
    ExporterParts parts = MakeExporter(environment, options.format, std::move(changes));
    FixedExportTarget target(text::FileNameToText(options.output));
    const ExportOutcome outcome =
        Export(*parts.exporter, loaded.records, target, environment.Context());
    if (outcome == ExportOutcome::OpenFailed || outcome == ExportOutcome::WriteFailed)
        return kExitFailed;
    return loaded.failed ? kExitFailed : kExitOk;
}

}  // namespace

void AddExportCommand(CLI::App& app, CommandBody& chosen) {
    auto options = std::make_shared<ExportOptions>();
    auto* command = app.add_subcommand(
        "export",
        "Write the files as an M3U, M3U8 (UTF-8) or PLS playlist, an XML document or a CSV "
        "table");
    command->add_option("FORMAT", options->format, "m3u, m3u8, pls, xml or csv")
        ->required()
        ->check(CLI::IsMember({"m3u", "m3u8", "pls", "xml", "csv"}));
    command->add_option("OUT", options->output, "The file to write")->required();
    command->add_option("PATH", options->paths, "Files, or directories loaded as the window does")
        ->required();
    options->xml.AddTo(*command);
    command->callback([&chosen, options] {
        chosen = [options](CliEnvironment& environment) {
            return RunExport(environment, *options);
        };
    });
}

}  // namespace velmora::cli
