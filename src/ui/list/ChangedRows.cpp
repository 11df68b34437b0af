#include "ui/list/ChangedRows.h"

#include <algorithm>

namespace velmora::ui {

namespace {

// Up to this many records are found by a pass over the rows each (an edit of one cell costs
// no index); more build the index.
constexpr std::size_t kDirectLookups = 8;

}  // namespace

void ChangedRows::RowsChanged() {
    index_.clear();
    index_.shrink_to_fit();
    marked_.clear();
    firstMarked_ = endMarked_ = 0;
}

void ChangedRows::MarkRow(std::size_t row) {
    if (marked_.size() != rows_.size())
        marked_.assign(rows_.size(), false);
    if (firstMarked_ == endMarked_) {
        firstMarked_ = row;
        endMarked_ = row + 1;
    }
    firstMarked_ = std::min(firstMarked_, row);
    endMarked_ = std::max(endMarked_, row + 1);
    marked_[row] = true;
}

void ChangedRows::BuildIndex() {
    index_.reserve(rows_.size());
    for (std::size_t row = 0; row < rows_.size(); ++row)
        index_.emplace_back(rows_[row], row);
    std::sort(index_.begin(), index_.end());
}

void ChangedRows::Mark(std::span<Mp3File* const> records,
                       const std::function<void(std::size_t row)>& found) {
    Find(records, [&](std::size_t row) {
        MarkRow(row);
        if (found)
            found(row);
    });
}

void ChangedRows::Find(std::span<const Mp3File* const> records,
                       const std::function<void(std::size_t row)>& found) {
    if (index_.empty() && records.size() <= kDirectLookups) {
        for (const Mp3File* record : records) {
            const auto row = std::find(rows_.begin(), rows_.end(), record);
            if (row != rows_.end())
                found(std::size_t(row - rows_.begin()));
        }
        return;
    }
    if (index_.size() != rows_.size())
        BuildIndex();
    for (const Mp3File* record : records) {
        const auto at = std::lower_bound(index_.begin(), index_.end(),
                                         std::pair<const Mp3File*, std::size_t>{record, 0});
        if (at != index_.end() && at->first == record)
            found(at->second);
    }
}

void ChangedRows::Flush(const std::function<void(int first, int last)>& run) {
    std::size_t first = endMarked_;
    for (std::size_t row = firstMarked_; row <= endMarked_; ++row) {
        const bool marked = row < endMarked_ && marked_[row];
        if (marked && first == endMarked_)
            first = row;
        if (!marked && first != endMarked_) {
            run(int(first), int(row) - 1);
            first = endMarked_;
        }
        if (row < endMarked_)
            marked_[row] = false;
    }
    firstMarked_ = endMarked_ = 0;
}

}  // namespace velmora::ui
