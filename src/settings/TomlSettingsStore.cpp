#include "settings/TomlSettingsStore.h"

namespace velmora::settings {

TomlSettingsStore::TomlSettingsStore(std::filesystem::path file, toml::table values)
    : state_(std::move(file), std::move(values)), root_(state_, std::string{}) {}

SettingsKey& TomlSettingsStore::SubKey(std::string_view name) {
    const std::lock_guard lock(subKeysMutex_);
    auto found = subKeys_.find(name);
    if (found == subKeys_.end()) {
        found =
            subKeys_
                .emplace(std::string(name), std::make_unique<KeyHandle>(state_, std::string(name)))
                .first;
    }
    return *found->second;
}

}  // namespace velmora::settings
