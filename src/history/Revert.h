#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace velmora::history {

class HistoryStore;

struct RevertOptions {
    // Only the entries of these files (by their path before or after the batch); all when empty.
    std::vector<std::u16string> files;
    bool dryRun = false;  // check and tell, change nothing
    bool force = false;   // write files that changed since the batch too
    // When given: the files handled so far (for a progress bar), and a request to stop
    // after the file at hand.
    std::atomic<std::size_t>* done = nullptr;
    const std::atomic<bool>* stop = nullptr;
};

// What became of one file of the batch.
struct RevertedFile {
    enum class Outcome { Reverted, WouldRevert, Skipped, Failed };
    std::u16string path;  // where the file is now
    Outcome outcome = Outcome::Skipped;
    std::u16string reason;  // why it was skipped or failed
};

struct RevertResult {
    std::vector<RevertedFile> files;
    std::int64_t batch = 0;  // the batch that recorded the revert, 0 when nothing was written
    bool unknownBatch = false;
};

// Puts the files of batch `id` back as they were before it, newest change first: their old
// tag regions, and their old names (never over another file). A file that is not as the
// batch left it is skipped with the reason unless `force`. The revert is a batch itself.
RevertResult RevertBatch(HistoryStore& store, std::int64_t id, const RevertOptions& options);

}  // namespace velmora::history
