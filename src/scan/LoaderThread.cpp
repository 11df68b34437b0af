#include "scan/LoaderThread.h"

#include <memory>
#include <utility>

#include "scan/DirectoryWalk.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"
#include "tags/Id3v2Reader.h"

namespace velmora {

void LoaderThread::SetDirectory(std::u16string directory) {
    records_.Clear();
    if (!directory.empty() && directory.back() == u'/')
        directory.pop_back();
    directory_ = std::move(directory);
}

bool LoaderThread::Start() {
    return worker_.Start([this] { Load(); });
}

void LoaderThread::Load() {
    const bool recurse = context_.settings.ReadBool(settings::kRecurse, true);
    // One reader for the whole load, so its scratch memory is reused from file to file.
    Id3v2Reader reader(context_.codePage, context_.settings);
    WalkDirectory(directory_, recurse,
                  [&](const std::u16string& directory, const std::u16string& name) {
                      records_.Append(std::make_unique<Mp3File>(context_, reader, directory, name));
                  });
}

}  // namespace velmora
