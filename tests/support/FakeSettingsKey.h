#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "settings/SettingsStore.h"

namespace velmora::testing {

// An in-memory settings key holding DWORDs and strings, counting writes.
class FakeSettingsKey : public SettingsKey {
  public:
    using Value = std::variant<std::uint32_t, std::u16string>;

    std::map<std::string, Value, std::less<>> values;
    int writes = 0;

    bool ReadBool(std::string_view name, bool defaultValue) const override {
        std::uint32_t number = 0;
        return ReadNumber(name, number) ? number != 0 : defaultValue;
    }
    bool ReadNumber(std::string_view name, std::uint32_t& out) const override {
        const auto it = values.find(name);
        if (it == values.end() || !std::holds_alternative<std::uint32_t>(it->second)) {
            return false;
        }
        out = std::get<std::uint32_t>(it->second);
        return true;
    }
    void WriteBool(std::string_view name, bool value) override { WriteNumber(name, value ? 1 : 0); }
    void WriteNumber(std::string_view name, std::uint32_t value) override {
        values[std::string(name)] = value;
        ++writes;
    }
    std::u16string ReadString(std::string_view name) const override {
        const auto it = values.find(name);
        if (it == values.end() || !std::holds_alternative<std::u16string>(it->second)) {
            return {};
        }
        return std::get<std::u16string>(it->second);
    }
    void WriteString(std::string_view name, std::u16string_view text) override {
        values[std::string(name)] = std::u16string(text);
        ++writes;
    }
    std::vector<std::u16string> ReadList(std::string_view) const override { return {}; }
    void AddToList(std::string_view, std::u16string_view) override { ++writes; }
    void RemoveFromList(std::string_view, std::u16string_view) override { ++writes; }
};

}  // namespace velmora::testing
