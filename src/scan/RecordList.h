#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

#include "tags/record/Mp3File.h"

namespace velmora {

// The loaded records, in load order, owned. A worker appends while the window reads what
// was appended since its last visit; each append and each read holds the lock, so a record
// is seen only once its load has finished. Records themselves are not locked.
class RecordList {
  public:
    void Append(std::unique_ptr<Mp3File> record);
    // Destroys every record. Only while no worker runs.
    void Clear() { TakeAll(); }
    // Empties the list, handing its records to the caller.
    std::vector<std::unique_ptr<Mp3File>> TakeAll();
    std::size_t Size() const;
    // The records from index `first` on (none when first is at or past the end). The
    // pointers stay valid until the next Clear.
    std::vector<Mp3File*> From(std::size_t first) const;
    std::vector<Mp3File*> All() const { return From(0); }
    // Puts `fresh` in the place of `old` (a file loaded again), handing `old` to the caller;
    // null, keeping `fresh` out, when `old` is not in the list.
    std::unique_ptr<Mp3File> Replace(const Mp3File* old, std::unique_ptr<Mp3File> fresh);

  private:
    mutable std::mutex mutex_;
    std::vector<std::unique_ptr<Mp3File>> records_;
};

}  // namespace velmora
