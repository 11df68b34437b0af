#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "settings/KeyHandle.h"
#include "settings/SettingsState.h"
#include "settings/SettingsStore.h"

namespace velmora::settings {

// The store over one TOML file: the root table is the root key, a table is a sub-key.
class TomlSettingsStore final : public SettingsStore {
  public:
    TomlSettingsStore(std::filesystem::path file, toml::table values, SettingsOpenOptions options);

    SettingsKey& Root() override { return root_; }
    SettingsKey& SubKey(std::string_view name) override;

  private:
    SettingsState state_;
    KeyHandle root_;
    std::mutex subKeysMutex_;
    std::map<std::string, std::unique_ptr<KeyHandle>, std::less<>> subKeys_;
};

}  // namespace velmora::settings
