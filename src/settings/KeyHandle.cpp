#include "settings/KeyHandle.h"

#include "settings/RecentList.h"

namespace velmora::settings {
namespace {

// Stored text ends at a NUL, so compare and store only what precedes one.
std::u16string_view AsStored(std::u16string_view text) {
    return text.substr(0, text.find(u'\0'));
}

}  // namespace

bool KeyHandle::ReadBool(std::string_view name, bool defaultValue) const {
    return state_.Read(subKey_, defaultValue, [&](const toml::table& key) {
        const std::optional<std::uint32_t> number = FindDword(key, name);
        return number ? *number != 0 : defaultValue;
    });
}

bool KeyHandle::ReadNumber(std::string_view name, std::uint32_t& out) const {
    const std::optional<std::uint32_t> number =
        state_.Read(subKey_, std::optional<std::uint32_t>{},
                    [&](const toml::table& key) { return FindDword(key, name); });
    if (number) {
        out = *number;
    }
    return number.has_value();
}

void KeyHandle::WriteBool(std::string_view name, bool value) {
    WriteNumber(name, value ? 1 : 0);
}

void KeyHandle::WriteNumber(std::string_view name, std::uint32_t value) {
    state_.Write(subKey_, [&](toml::table& key) { StoreDword(key, name, value); });
}

std::u16string KeyHandle::ReadString(std::string_view name) const {
    return state_.Read(subKey_, std::u16string{}, [&](const toml::table& key) {
        return FindString(key, name).value_or(std::u16string{});
    });
}

void KeyHandle::WriteString(std::string_view name, std::u16string_view text) {
    state_.Write(subKey_, [&](toml::table& key) { StoreString(key, name, text); });
}

std::vector<std::u16string> KeyHandle::ReadList(std::string_view name) const {
    return state_.Read(subKey_, std::vector<std::u16string>{},
                       [&](const toml::table& key) { return FindEntries(key, name); });
}

void KeyHandle::AddToList(std::string_view name, std::u16string_view text) {
    state_.Write(subKey_, [&](toml::table& key) {
        std::vector<std::u16string> entries = FindEntries(key, name);
        MoveToEnd(entries, AsStored(text));
        StoreEntries(key, name, entries);
    });
}

void KeyHandle::RemoveFromList(std::string_view name, std::u16string_view text) {
    state_.Write(subKey_, [&](toml::table& key) {
        std::vector<std::u16string> entries = FindEntries(key, name);
        if (RemoveFirst(entries, AsStored(text))) {
            StoreEntries(key, name, entries);
        }
    });
}

}  // namespace velmora::settings
