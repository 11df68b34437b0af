#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <utility>
#include <vector>

namespace velmora {
class Mp3File;
}

namespace velmora::ui {

// The rows of changed records, gathered while an edit runs (a part at a time, each found at
// once) and handed out at its end as runs of adjacent rows. Over many records the rows are
// found through an index of the records by address, built on first need and dropped when
// the rows change; a few are looked up directly.
class ChangedRows {
  public:
    explicit ChangedRows(const std::vector<Mp3File*>& rows) : rows_(rows) {}

    // The rows changed: the index no longer fits, and nothing marked stays.
    void RowsChanged();
    // Marks the rows of the records, telling `found` (when given) each row.
    void Mark(std::span<Mp3File* const> records,
              const std::function<void(std::size_t row)>& found = {});
    // Calls `found` with the row of each record (none for a record not in the rows).
    void Find(std::span<const Mp3File* const> records,
              const std::function<void(std::size_t row)>& found);
    // Calls `run` with the first and last row of each run of marked rows, top down, and
    // forgets them.
    void Flush(const std::function<void(int first, int last)>& run);

  private:
    void MarkRow(std::size_t row);
    void BuildIndex();

    const std::vector<Mp3File*>& rows_;
    std::vector<std::pair<const Mp3File*, std::size_t>> index_;
    std::vector<bool> marked_;
    std::size_t firstMarked_ = 0;
    std::size_t endMarked_ = 0;
};

}  // namespace velmora::ui
