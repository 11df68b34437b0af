#include "settings/SettingsText.h"

#include <algorithm>
#include <sstream>

namespace velmora::settings {
namespace {

// Plain double-quoted strings with Unicode kept readable; no literal or multi-line forms.
constexpr auto kFormat = toml::format_flags::allow_unicode_strings;

std::string Scalar(const toml::node& node) {
    std::ostringstream text;
    text << toml::toml_formatter{node, kFormat};
    return text.str();
}

bool IsBare(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-';
}

// Keys are written here rather than by toml++'s formatter, which leaves a key holding a
// quote or a tab bare: such a file no longer parses and would be moved aside as broken.
std::string Key(std::string_view key) {
    if (!key.empty() && std::ranges::all_of(key, IsBare)) {
        return std::string(key);
    }
    return Scalar(toml::value<std::string>(std::string(key)));
}

std::string Value(const toml::node& node);

template <typename Items, typename Write>
std::string Inline(const Items& items, const char* open, const char* close, Write write) {
    std::string text = open;
    const char* separator = " ";
    for (const auto& item : items) {
        text += separator + write(item);
        separator = ", ";
    }
    return text + (items.empty() ? "" : " ") + close;
}

std::string Value(const toml::node& node) {
    if (const toml::table* table = node.as_table()) {
        return Inline(*table, "{", "}", [](const auto& entry) {
            return Key(entry.first) + " = " + Value(entry.second);
        });
    }
    if (const toml::array* array = node.as_array()) {
        return Inline(*array, "[", "]", [](const toml::node& item) { return Value(item); });
    }
    return Scalar(node);
}

// A blank line sets a header apart from what comes before it, if anything does.
std::string Header(const std::string& header, const std::string& before) {
    return (before.empty() ? "" : "\n") + header + '\n';
}

// Headers can only follow the plain values of a table, so those come first.
void Section(std::string& out, const toml::table& table, const std::string& path) {
    const auto isHeader = [](const toml::node& node) {
        return node.is_table() || node.is_array_of_tables();
    };
    for (const auto& [key, node] : table) {
        if (!isHeader(node)) {
            out += Key(key) + " = " + Value(node) + '\n';
        }
    }
    for (const auto& [key, node] : table) {
        const std::string name = (path.empty() ? "" : path + '.') + Key(key);
        if (const toml::table* inner = node.as_table()) {
            out += Header("[" + name + "]", out);
            Section(out, *inner, name);
        } else if (node.is_array_of_tables()) {
            for (const toml::node& item : *node.as_array()) {
                out += Header("[[" + name + "]]", out);
                Section(out, *item.as_table(), name);
            }
        }
    }
}

}  // namespace

std::string FormatSettings(const toml::table& values) {
    std::string text;
    Section(text, values, "");
    return text;
}

}  // namespace velmora::settings
