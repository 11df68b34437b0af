#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "settings/SettingNames.h"

namespace velmora {

class MessageSink;

// A handle on the root key or on one sub-key ("XML") of the store. Reads are served from
// memory; writes update memory and replace the file on disk atomically, merging with
// what another running instance wrote meanwhile. Write failures are ignored.
// Safe to use from several threads at once.
class SettingsKey {
  public:
    virtual ~SettingsKey() = default;

    // The default when the value is absent or not a DWORD; else stored number != 0.
    virtual bool ReadBool(std::string_view name, bool defaultValue) const = 0;
    // False and `out` untouched when the value is absent or not a DWORD.
    virtual bool ReadNumber(std::string_view name, std::uint32_t& out) const = 0;
    virtual void WriteBool(std::string_view name, bool value) = 0;
    virtual void WriteNumber(std::string_view name, std::uint32_t value) = 0;
    // Empty unless the value is a string of at most 259 characters.
    virtual std::u16string ReadString(std::string_view name) const = 0;
    virtual void WriteString(std::string_view name, std::u16string_view text) = 0;
    // Recent lists: oldest first, empty entries skipped.
    virtual std::vector<std::u16string> ReadList(std::string_view name) const = 0;
    virtual void AddToList(std::string_view name, std::u16string_view text) = 0;
    virtual void RemoveFromList(std::string_view name, std::u16string_view text) = 0;

    // The named settings with their own defaults.
    bool Read(const settings::BoolSetting& setting) const {
        return ReadBool(setting.name, setting.fallback);
    }
    std::uint32_t Read(const settings::NumberSetting& setting) const {
        std::uint32_t value = setting.fallback;
        ReadNumber(setting.name, value);
        return value;
    }
    std::u16string Read(const settings::TextSetting& setting) const {
        std::u16string text = ReadString(setting.name);
        return text.empty() ? std::u16string(setting.fallback) : text;
    }
    void Write(const settings::BoolSetting& setting, bool value) { WriteBool(setting.name, value); }
    void Write(const settings::NumberSetting& setting, std::uint32_t value) {
        WriteNumber(setting.name, value);
    }
    void Write(const settings::TextSetting& setting, std::u16string_view text) {
        WriteString(setting.name, text);
    }
};

// How SettingsStore::Open treats its file.
struct SettingsOpenOptions {
    // The user named the file: it is theirs, so a file that does not parse is refused
    // and left as it is (never moved aside), and no folder or file is created at open.
    bool named = false;
    // Nothing is written to disk: no folder, file or lock file is created, nothing is
    // moved, and writes change only what this process holds.
    bool readOnly = false;
};

// The settings file: its root key and its sub-keys.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;

    // $XDG_CONFIG_HOME/velmora/settings.toml, or ~/.config/velmora/settings.toml.
    static std::filesystem::path DefaultPath();

    struct OpenResult {
        std::unique_ptr<SettingsStore> store;  // null on failure
        std::string error;                     // path and system error when store is null
        // The named file is no settings file (not regular, too large, does not parse).
        bool refused = false;
        // Set when an unparsable default file was set aside or ignored; the caller tells
        // the user once.
        std::u16string notice;
    };
    // Opens the store at `file`. The default store (not named, not read-only) creates its
    // folder and file when absent and moves an unparsable file aside. A file that is not a
    // regular file, or holds more than 1 MiB, is refused without being read.
    static OpenResult Open(const std::filesystem::path& file, SettingsOpenOptions options = {});

    virtual SettingsKey& Root() = 0;
    // The sub-key handle (the sub-key is created on first write).
    virtual SettingsKey& SubKey(std::string_view name) = 0;
};

}  // namespace velmora
