#include "scan/LoaderThread.h"

#include <memory>
#include <utility>

#include "scan/DirectoryWalk.h"
#include "scan/OrderedLoadPool.h"

namespace velmora {

void LoaderThread::SetDirectory(std::u16string directory) {
    retired_ = records_.TakeAll();
    if (!directory.empty() && directory.back() == u'/')
        directory.pop_back();
    directory_ = std::move(directory);
}

bool LoaderThread::Start(std::function<void()> onDone) {
    if (IsRunning())
        return false;
    progress_.Restart(0);
    return worker_.Start([this](const std::stop_token& stop) { Load(stop); }, std::move(onDone));
}

void LoaderThread::Load(const std::stop_token& stop) {
    {
        // The previous list's records are destroyed here, on the worker's thread.
        const auto retired = std::move(retired_);
        const auto leftovers = std::move(leftovers_);
    }
    // The records of one folder share its name.
    std::shared_ptr<const std::u16string> folder;
    OrderedLoadPool pool(
        context_, readers_,
        [this](std::unique_ptr<Mp3File> record) {
            const bool loaded = record->Status() != LoadStatus::Failed;
            records_.Append(std::move(record));
            progress_.CountOne(loaded);
        },
        stop, readerStart_);
    WalkDirectory(
        directory_, recurse_,
        [&](const std::u16string& directory, const std::u16string& name) {
            if (!folder || *folder != directory)
                folder = std::make_shared<const std::u16string>(directory);
            pool.Submit(folder, name);
        },
        stop);
    pool.Finish();
}

}  // namespace velmora
