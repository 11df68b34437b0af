#include "settings/SettingValues.h"

#include "text/Utf8.h"

namespace velmora::settings {
namespace {

constexpr std::int64_t kMaxDword = 0xFFFFFFFF;

std::u16string_view UpToNul(std::u16string_view text) {
    return text.substr(0, text.find(u'\0'));
}

}  // namespace

std::optional<std::uint32_t> FindDword(const toml::table& key, std::string_view name) {
    const auto* node = key.get_as<std::int64_t>(name);
    if (node == nullptr || node->get() < 0 || node->get() > kMaxDword) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(node->get());
}

std::optional<std::u16string> FindString(const toml::table& key, std::string_view name) {
    const auto* node = key.get_as<std::string>(name);
    if (node == nullptr) {
        return std::nullopt;
    }
    std::u16string text = text::FromUtf8(node->get());
    if (text.size() > kMaxStringLength) {
        return std::nullopt;
    }
    text.resize(UpToNul(text).size());
    return text;
}

std::vector<std::u16string> FindEntries(const toml::table& key, std::string_view name) {
    const auto* array = key.get_as<toml::array>(name);
    if (array == nullptr || !array->is_homogeneous<std::string>()) {
        return {};
    }
    std::vector<std::u16string> entries;
    for (const toml::node& node : *array) {
        std::u16string entry = text::FromUtf8(node.as_string()->get());
        entry.resize(UpToNul(entry).size());
        if (!entry.empty()) {
            entries.push_back(std::move(entry));
        }
    }
    return entries;
}

void StoreDword(toml::table& key, std::string_view name, std::uint32_t value) {
    key.insert_or_assign(name, std::int64_t{value});
}

void StoreString(toml::table& key, std::string_view name, std::u16string_view text) {
    key.insert_or_assign(name, text::ToUtf8(UpToNul(text)));
}

void StoreEntries(toml::table& key, std::string_view name,
                  const std::vector<std::u16string>& entries) {
    toml::array array;
    for (const std::u16string& entry : entries) {
        const std::u16string_view text = UpToNul(entry);
        if (text.empty()) {
            break;
        }
        array.push_back(text::ToUtf8(text));
    }
    key.insert_or_assign(name, std::move(array));
}

const toml::table* FindKey(const toml::table& root, std::string_view subKey) {
    return subKey.empty() ? &root : root.get_as<toml::table>(subKey);
}

toml::table& MakeKey(toml::table& root, std::string_view subKey) {
    if (subKey.empty()) {
        return root;
    }
    if (auto* existing = root.get_as<toml::table>(subKey)) {
        return *existing;
    }
    return *root.insert_or_assign(subKey, toml::table{}).first->second.as_table();
}

}  // namespace velmora::settings
