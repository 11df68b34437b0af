#pragma once

#include <string>

#include "settings/SettingsState.h"
#include "settings/SettingsStore.h"

namespace velmora::settings {

// The typed operations on one key (the root or a sub-key) of a SettingsState.
class KeyHandle final : public SettingsKey {
  public:
    // `subKey` empty: the root key.
    KeyHandle(SettingsState& state, std::string subKey)
        : state_(state), subKey_(std::move(subKey)) {}

    bool ReadBool(std::string_view name, bool defaultValue) const override;
    bool ReadNumber(std::string_view name, std::uint32_t& out) const override;
    void WriteBool(std::string_view name, bool value) override;
    void WriteNumber(std::string_view name, std::uint32_t value) override;
    std::u16string ReadString(std::string_view name) const override;
    void WriteString(std::string_view name, std::u16string_view text) override;
    std::vector<std::u16string> ReadList(std::string_view name) const override;
    void AddToList(std::string_view name, std::u16string_view text) override;
    void RemoveFromList(std::string_view name, std::u16string_view text) override;

  private:
    SettingsState& state_;
    const std::string subKey_;
};

}  // namespace velmora::settings
