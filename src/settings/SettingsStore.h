#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

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
};

class SettingsStore : public SettingsKey {
  public:
    // $XDG_CONFIG_HOME/velmora/settings.toml, or ~/.config/velmora/settings.toml.
    static std::filesystem::path DefaultPath();

    struct OpenResult {
        std::unique_ptr<SettingsStore> store;  // null on failure
        std::string error;                     // path and system error when store is null
        // Set when an unparsable file was moved aside; the caller tells the user once.
        std::u16string notice;
    };
    // Opens (creating the folder and file when absent) the store at `file`.
    static OpenResult Open(const std::filesystem::path& file);

    // The sub-key handle (the sub-key is created on first write).
    virtual SettingsKey& SubKey(std::string_view name) = 0;
};

}  // namespace velmora
