#pragma once

#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string_view>

#include <toml++/toml.h>

#include "settings/SettingValues.h"

namespace velmora::settings {

// The settings of one file, held in memory. Reads look at memory only. A write changes
// memory, then, under the writers' lock, applies the same change to what is on disk now
// and replaces the file with the result, so values written meanwhile by another process
// survive; memory then takes the merged values.
class SettingsState {
  public:
    // A change of one key's table; applied twice (memory, then the merged file).
    using Change = std::function<void(toml::table& key)>;

    // `named`: a file that turns unparsable is left alone (not moved aside) and not written;
    // `readOnly`: writes change memory only.
    SettingsState(std::filesystem::path file, toml::table values, bool named, bool readOnly);

    // Calls `read` with the table of `subKey` (empty: the root), or returns `fallback`
    // when that key does not exist.
    template <typename Result, typename Reader>
    Result Read(std::string_view subKey, Result fallback, Reader read) const {
        const std::lock_guard lock(valuesMutex_);
        const toml::table* key = FindKey(values_, subKey);
        return key == nullptr ? fallback : read(*key);
    }

    // Failures to reach the disk are ignored: memory keeps the change.
    void Write(std::string_view subKey, const Change& change);

    const std::filesystem::path& File() const { return file_; }

  private:
    std::optional<toml::table> MergeWithDisk(std::string_view subKey, const Change& change);

    const std::filesystem::path file_;
    const bool named_;
    const bool readOnly_;
    // Held for a whole write, disk included; readers never wait for it.
    std::mutex writeMutex_;
    mutable std::mutex valuesMutex_;
    toml::table values_;
};

}  // namespace velmora::settings
