#include "settings/TomlSettingsStore.h"

namespace velmora::settings {

TomlSettingsStore::TomlSettingsStore(std::filesystem::path file, toml::table values,
                                     SettingsOpenOptions options)
    : state_(std::move(file), std::move(values), options.named, options.readOnly),
      root_(state_, std::string{}) {}

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
