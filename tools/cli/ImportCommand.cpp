#include <CLI/CLI.hpp>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <sstream>

#include "CliEnvironment.h"
#include "Command.h"
#include "FileArguments.h"
#include "Output.h"
#include "RecordDump.h"
#include "batch/CellEdits.h"
#include "edit/ActionNames.h"
#include "export/CsvImport.h"
#include "text/FileName.h"

namespace velmora::cli {
namespace {

struct ImportOptions {
    std::string format;
    std::string input;
    bool dryRun = false;
    bool json = false;
};

// The files the rows name that exist, each once however it is named; the others are rows that
// match nothing.
std::vector<std::string> ExistingPaths(const CsvImportTable& table) {
    std::vector<std::string> paths;
    for (const CsvImportTable::Row& row : table.rows) {
        const std::string path = text::TextToFileName(row.path);
        std::error_code error;
        if (std::filesystem::is_regular_file(path, error))
            paths.push_back(path);
    }
    return EachFileOnce(paths);
}

void PrintPlan(const CsvImportPlan& plan, CliEnvironment& environment, bool json) {
    for (const batch::CellEdit& edit : plan.cells.changes) {
        const std::u16string old = CellText(*edit.record, edit.column, environment.CodePage());
        const std::u16string column(ColumnInfoOf(edit.column).header);
        if (json) {
            std::cout << JsonLine({{"file", PathBytes(edit.record->DiskPath())},
                                   {"column", Printable(column)},
                                   {"old", Printable(old)},
                                   {"new", Printable(edit.value)}})
                      << '\n';
        } else {
            std::cout << PathBytes(edit.record->DiskPath()) << ": " << Printable(column) << ": "
                      << Printable(old) << " -> " << Printable(edit.value) << '\n';
        }
    }
    for (const std::u16string& path : plan.unmatched) {
        if (json)
            std::cout << JsonLine({{"unmatched", PathBytes(path)}}) << '\n';
        Complain("no loaded file matches the row of " + PathBytes(path));
    }
    for (const Message& refusal : plan.cells.refusals)
        environment.Messages().Show(refusal);
}

int RunImport(CliEnvironment& environment, const ImportOptions& options) {
    std::ifstream in(options.input, std::ios::binary);
    if (!in) {
        Complain("cannot read " + options.input);
        return kExitFailed;
    }
    const std::string document{std::istreambuf_iterator<char>(in), {}};
    const CsvImportTable table = ReadCsvImport(document);
    if (!table.error.empty()) {
        Complain(options.input + ": " + Printable(table.error));
        return kExitUsage;
    }
    FileBatch files = LoadFileBatch(environment, ExistingPaths(table),
                                    options.dryRun ? FileAccess::Read : FileAccess::ReadWrite);
    const std::vector<Mp3File*> records = files.Records();
    const CsvImportPlan plan = PlanCsvImport(table, records, environment.CodePage());
    PrintPlan(plan, environment, options.json);
    const bool complete = plan.unmatched.empty() && plan.cells.refusals.empty();
    if (options.dryRun)
        return files.failed == 0 && complete ? kExitOk : kExitFailed;
    environment.Journal().Apply(edit::kImportCsvAction, records, [&] {
        for (const batch::CellEdit& edit : plan.cells.changes)
            batch::ApplyCellEdit(edit, environment.Context());
    });
    const int saved = SaveFileBatch(environment, files);
    return saved == kExitOk && complete ? kExitOk : kExitFailed;
}

}  // namespace

void AddImportCommand(CLI::App& app, CommandBody& chosen) {
    auto options = std::make_shared<ImportOptions>();
    auto* command = app.add_subcommand(
        "import", "Set the tags of the files a CSV table names (as export csv writes it)");
    command->add_option("FORMAT", options->format, "csv")
        ->required()
        ->check(CLI::IsMember({"csv"}));
    command->add_option("IN", options->input, "The CSV file to read")->required();
    command->add_flag(
        "--dry-run", options->dryRun,
        "Change nothing; print each cell that would change as old -> new (the same exit code)");
    command->add_flag("--json", options->json, "One JSON object per changed cell");
    command->callback([&chosen, options] {
        chosen = [options](CliEnvironment& environment) {
            return RunImport(environment, *options);
        };
    });
}

}  // namespace velmora::cli
