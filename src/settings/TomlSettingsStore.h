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

    bool ReadBool(std::string_view name, bool defaultValue) const override {
        return root_.ReadBool(name, defaultValue);
    }
    bool ReadNumber(std::string_view name, std::uint32_t& out) const override {
        return root_.ReadNumber(name, out);
    }
    void WriteBool(std::string_view name, bool value) override { root_.WriteBool(name, value); }
    void WriteNumber(std::string_view name, std::uint32_t value) override {
        root_.WriteNumber(name, value);
    }
    std::u16string ReadString(std::string_view name) const override {
        return root_.ReadString(name);
    }
    void WriteString(std::string_view name, std::u16string_view text) override {
        root_.WriteString(name, text);
    }
    std::vector<std::u16string> ReadList(std::string_view name) const override {
        return root_.ReadList(name);
    }
    void AddToList(std::string_view name, std::u16string_view text) override {
        root_.AddToList(name, text);
    }
    void RemoveFromList(std::string_view name, std::u16string_view text) override {
        root_.RemoveFromList(name, text);
    }

    SettingsKey& SubKey(std::string_view name) override;

  private:
    SettingsState state_;
    KeyHandle root_;
    std::mutex subKeysMutex_;
    std::map<std::string, std::unique_ptr<KeyHandle>, std::less<>> subKeys_;
};

}  // namespace velmora::settings
