#include "scan/RecordList.h"

#include <utility>

namespace velmora {

void RecordList::Append(std::unique_ptr<Mp3File> record) {
    std::lock_guard lock(mutex_);
    records_.push_back(std::move(record));
}

std::vector<std::unique_ptr<Mp3File>> RecordList::TakeAll() {
    std::vector<std::unique_ptr<Mp3File>> taken;
    std::lock_guard lock(mutex_);
    taken.swap(records_);
    return taken;
}

std::unique_ptr<Mp3File> RecordList::Replace(const Mp3File* old, std::unique_ptr<Mp3File> fresh) {
    std::lock_guard lock(mutex_);
    for (std::unique_ptr<Mp3File>& record : records_) {
        if (record.get() == old) {
            record.swap(fresh);
            return fresh;
        }
    }
    return nullptr;
}

std::size_t RecordList::Size() const {
    std::lock_guard lock(mutex_);
    return records_.size();
}

std::vector<Mp3File*> RecordList::From(std::size_t first) const {
    std::lock_guard lock(mutex_);
    std::vector<Mp3File*> out;
    for (std::size_t i = first; i < records_.size(); ++i)
        out.push_back(records_[i].get());
    return out;
}

}  // namespace velmora
