#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "CliEnvironment.h"
#include "Command.h"
#include "Output.h"
#include "history/HistoryStore.h"
#include "history/Revert.h"
#include "scan/SaveHistory.h"
#include "text/FileName.h"
#include "text/Utf8.h"

namespace velmora::cli {
namespace {

using history::BatchRow;
using history::EntryRow;
using history::HistoryStore;
using Outcome = history::RevertedFile::Outcome;

struct HistoryOptions {
    bool json = false;
    std::int64_t batch = 0;
    std::vector<std::string> files;
    bool dryRun = false;
    bool force = false;
    std::optional<std::uint32_t> keepDays;
    std::string maxSize;
};

std::unique_ptr<HistoryStore> OpenStore() {
    std::u16string notice;
    std::string error;
    auto store = HistoryStore::Open(HistoryStore::DefaultFile(), notice, error);
    if (!notice.empty())
        Complain(text::ToUtf8(notice));
    if (!store)
        Complain("cannot open the history of saves: " + error);
    return store;
}

nlohmann::ordered_json BatchJson(const BatchRow& batch) {
    return {{"id", batch.id},
            {"started", batch.started},
            {"finished", batch.finished},
            {"origin", batch.origin},
            {"summary", text::ToUtf8(batch.summary)},
            {"reverts", batch.reverts},
            {"files", batch.files}};
}

void PrintBatch(const BatchRow& batch) {
    std::cout << batch.id << '\t' << batch.started << '\t' << batch.origin << '\t' << batch.files
              << '\t' << Printable(batch.summary) << '\n';
}

// The file is as the batch left it: a revert would write it without --force.
bool Matches(const EntryRow& entry) {
    return entry.identity && (IdentityOfPath(entry.pathAfter) == entry.identity ||
                              IdentityOfPath(entry.pathBefore) == entry.identity);
}

int List(HistoryStore& store, const HistoryOptions& options) {
    const std::vector<BatchRow> batches = store.Batches();
    if (options.json) {
        nlohmann::ordered_json out = nlohmann::ordered_json::array();
        for (const BatchRow& batch : batches)
            out.push_back(BatchJson(batch));
        std::cout << out.dump(2) << '\n';
        return kExitOk;
    }
    for (const BatchRow& batch : batches)
        PrintBatch(batch);
    return kExitOk;
}

int Show(HistoryStore& store, const HistoryOptions& options) {
    const auto batch = store.Batch(options.batch);
    if (!batch) {
        Complain("there is no batch " + std::to_string(options.batch) + " in the history");
        return kExitUsage;
    }
    const std::vector<EntryRow> entries = store.Entries(batch->id);
    if (options.json) {
        nlohmann::ordered_json out = BatchJson(*batch);
        out["entries"] = nlohmann::ordered_json::array();
        for (const EntryRow& entry : entries)
            out["entries"].push_back({{"before", text::ToUtf8(entry.pathBefore)},
                                      {"after", text::ToUtf8(entry.pathAfter)},
                                      {"tags_changed", entry.tagsChanged},
                                      {"state", entry.state},
                                      {"matches", Matches(entry)}});
        std::cout << out.dump(2) << '\n';
        return kExitOk;
    }
    PrintBatch(*batch);
    for (const EntryRow& entry : entries) {
        std::cout << (Matches(entry) ? "matches" : "changed") << '\t'
                  << PathBytes(entry.pathBefore);
        if (entry.pathAfter != entry.pathBefore)
            std::cout << " -> " << PathBytes(entry.pathAfter);
        std::cout << '\n';
    }
    return kExitOk;
}

int Revert(HistoryStore& store, const HistoryOptions& options) {
    history::RevertOptions revert;
    for (const std::string& file : options.files)
        revert.files.push_back(text::FileNameToText(file));
    revert.dryRun = options.dryRun;
    revert.force = options.force;
    const history::RevertResult result = history::RevertBatch(store, options.batch, revert);
    if (result.unknownBatch) {
        Complain("there is no batch " + std::to_string(options.batch) + " in the history");
        return kExitUsage;
    }
    int code = kExitOk;
    static constexpr const char* kWords[] = {"reverted", "would revert", "skipped", "failed"};
    for (const history::RevertedFile& file : result.files) {
        std::cout << kWords[static_cast<int>(file.outcome)] << '\t' << PathBytes(file.path);
        if (!file.reason.empty())
            std::cout << ": " << Printable(file.reason);
        std::cout << '\n';
        if (file.outcome == Outcome::Skipped || file.outcome == Outcome::Failed)
            code = kExitFailed;
    }
    if (!revert.files.empty() && result.files.size() < revert.files.size()) {
        Complain("some of the files named are not in batch " + std::to_string(options.batch));
        code = kExitFailed;
    }
    return code;
}

// "512M", "2G", "100000": a size in bytes with an optional binary multiple.
std::optional<std::uint64_t> ParseSize(const std::string& text) {
    std::size_t used = 0;
    std::uint64_t value = 0;
    try {
        value = std::stoull(text, &used);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    const std::string unit = text.substr(used);
    static constexpr std::pair<const char*, int> kUnits[] = {
        {"", 0}, {"K", 10}, {"KiB", 10}, {"M", 20}, {"MiB", 20}, {"G", 30}, {"GiB", 30}};
    for (const auto& [name, shift] : kUnits) {
        if (unit == name)
            return value << shift;
    }
    return std::nullopt;
}

int Prune(HistoryStore& store, const HistoryOptions& options, CliEnvironment& environment) {
    history::HistoryLimits limits = HistoryLimitsOf(environment.Settings());
    if (options.keepDays)
        limits.keepDays = *options.keepDays;
    if (!options.maxSize.empty()) {
        const auto size = ParseSize(options.maxSize);
        if (!size) {
            Complain("history prune: --max-size takes a size such as 500M or 2G");
            return kExitUsage;
        }
        limits.maxBytes = *size;
    }
    const std::size_t deleted = store.Prune(limits.keepDays, limits.maxBytes);
    std::cout << "Deleted " << deleted << (deleted == 1 ? " batch" : " batches")
              << "; the history now takes " << store.SizeInBytes() << " bytes\n";
    return kExitOk;
}

void Choose(CLI::App* command, CommandBody& chosen, std::shared_ptr<HistoryOptions> options,
            int (*run)(HistoryStore&, const HistoryOptions&, CliEnvironment&)) {
    command->callback([&chosen, options, run] {
        chosen = [options, run](CliEnvironment& environment) {
            const auto store = OpenStore();
            if (!store)
                return kExitFailed;
            try {
                return run(*store, *options, environment);
            } catch (const std::exception& failure) {
                Complain(std::string("the history of saves failed: ") + failure.what());
                return kExitFailed;
            }
        };
    });
}

}  // namespace

void AddHistoryCommand(CLI::App& app, CommandBody& chosen) {
    auto options = std::make_shared<HistoryOptions>();
    auto* history = app.add_subcommand("history", "List, show, revert and prune recorded saves");
    history->require_subcommand(1);

    auto* list = history->add_subcommand("list", "The recorded batches, newest first");
    list->add_flag("--json", options->json, "Print JSON");
    Choose(list, chosen, options,
           [](HistoryStore& store, const HistoryOptions& o, CliEnvironment&) {
               return List(store, o);
           });

    auto* show = history->add_subcommand("show", "The files of one batch");
    show->add_option("BATCH", options->batch, "Batch number")->required();
    show->add_flag("--json", options->json, "Print JSON");
    Choose(show, chosen, options,
           [](HistoryStore& store, const HistoryOptions& o, CliEnvironment&) {
               return Show(store, o);
           });

    auto* revert = history->add_subcommand("revert", "Put the files of a batch back as they were");
    revert->add_option("BATCH", options->batch, "Batch number")->required();
    revert->add_option("FILE", options->files, "Only these files of the batch");
    revert->add_flag("--dry-run", options->dryRun, "Tell what would be reverted, change nothing");
    revert->add_flag("--force", options->force, "Revert files changed since the batch too");
    Choose(revert, chosen, options,
           [](HistoryStore& store, const HistoryOptions& o, CliEnvironment&) {
               return Revert(store, o);
           });

    auto* prune = history->add_subcommand("prune", "Delete the oldest batches");
    prune->add_option("--keep-days", options->keepDays, "Delete batches older than N days");
    prune->add_option("--max-size", options->maxSize, "Delete the oldest until under SIZE");
    Choose(prune, chosen, options,
           [](HistoryStore& store, const HistoryOptions& o, CliEnvironment& environment) {
               return Prune(store, o, environment);
           });
}

}  // namespace velmora::cli
