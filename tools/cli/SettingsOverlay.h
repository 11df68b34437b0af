#pragma once

#include <cstdint>
#include <optional>

#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

namespace velmora::cli {

// The store as the run sees it: --v24/--v23 and --encoding override Use2.4 and Encoding
// for this run only; every other read and every write goes to the real store.
class SettingsOverlay : public SettingsKey {
  public:
    explicit SettingsOverlay(SettingsKey& store) : store_(store) {}

    void OverrideUse24(bool value) { use24_ = value; }
    void OverrideEncoding(std::uint32_t value) { encoding_ = value; }

    bool ReadBool(std::string_view name, bool defaultValue) const override {
        if (use24_ && name == settings::kUse24)
            return *use24_;
        return store_.ReadBool(name, defaultValue);
    }
    bool ReadNumber(std::string_view name, std::uint32_t& out) const override {
        if (encoding_ && name == settings::kEncoding) {
            out = *encoding_;
            return true;
        }
        return store_.ReadNumber(name, out);
    }
    void WriteBool(std::string_view name, bool value) override { store_.WriteBool(name, value); }
    void WriteNumber(std::string_view name, std::uint32_t value) override {
        store_.WriteNumber(name, value);
    }
    std::u16string ReadString(std::string_view name) const override {
        return store_.ReadString(name);
    }
    void WriteString(std::string_view name, std::u16string_view text) override {
        store_.WriteString(name, text);
    }
    std::vector<std::u16string> ReadList(std::string_view name) const override {
        return store_.ReadList(name);
    }
    void AddToList(std::string_view name, std::u16string_view text) override {
        store_.AddToList(name, text);
    }
    void RemoveFromList(std::string_view name, std::u16string_view text) override {
        store_.RemoveFromList(name, text);
    }

  private:
    SettingsKey& store_;
    std::optional<bool> use24_;
    std::optional<std::uint32_t> encoding_;
};

}  // namespace velmora::cli
