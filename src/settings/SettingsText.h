#pragma once

#include <string>

#include <toml++/toml.h>

namespace velmora::settings {

// The text the store writes for `values`: every key, a hand-edited one included, in a form
// that reads back as the same key.
std::string FormatSettings(const toml::table& values);

}  // namespace velmora::settings
