#pragma once

#include <map>
#include <string>

#include "settings/SettingsStore.h"

namespace velmora::testing {

// A settings key in memory that knows only numbers (enough for boolean options).
class FakeSettingsKey : public SettingsKey {
  public:
    bool ReadBool(std::string_view name, bool defaultValue) const override {
        const auto it = numbers_.find(std::string(name));
        return it == numbers_.end() ? defaultValue : it->second != 0;
    }
    bool ReadNumber(std::string_view name, std::uint32_t& out) const override {
        const auto it = numbers_.find(std::string(name));
        if (it == numbers_.end()) {
            return false;
        }
        out = it->second;
        return true;
    }
    void WriteBool(std::string_view name, bool value) override {
        numbers_[std::string(name)] = value ? 1 : 0;
    }
    void WriteNumber(std::string_view name, std::uint32_t value) override {
        numbers_[std::string(name)] = value;
    }
    std::u16string ReadString(std::string_view) const override { return {}; }
    void WriteString(std::string_view, std::u16string_view) override {}
    std::vector<std::u16string> ReadList(std::string_view) const override { return {}; }
    void AddToList(std::string_view, std::u16string_view) override {}
    void RemoveFromList(std::string_view, std::u16string_view) override {}

  private:
    std::map<std::string, std::uint32_t> numbers_;
};

}  // namespace velmora::testing
