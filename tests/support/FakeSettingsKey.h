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
        const auto* number = Find<std::uint32_t>(name);
        out = number ? *number : out;
        return number != nullptr;
    }
    void WriteBool(std::string_view name, bool value) override { WriteNumber(name, value ? 1 : 0); }
    void WriteNumber(std::string_view name, std::uint32_t value) override { Write(name, value); }
    std::u16string ReadString(std::string_view name) const override {
        const auto* text = Find<std::u16string>(name);
        return text ? *text : std::u16string();
    }
    void WriteString(std::string_view name, std::u16string_view text) override {
        Write(name, std::u16string(text));
    }
    std::vector<std::u16string> ReadList(std::string_view) const override { return {}; }
    void AddToList(std::string_view, std::u16string_view) override { ++writes; }
    void RemoveFromList(std::string_view, std::u16string_view) override { ++writes; }

  private:
    template <typename T>
    const T* Find(std::string_view name) const {
        const auto it = values.find(name);
        return it == values.end() ? nullptr : std::get_if<T>(&it->second);
    }
    void Write(std::string_view name, Value value) {
        values[std::string(name)] = std::move(value);
        ++writes;
    }
};

}  // namespace velmora::testing
