#pragma once

#include <string>
#include <string_view>

namespace velmora::cli {

// Prints "velmora-cli: <text>" on standard error.
void Complain(std::string_view text);

// Tag text for printing: UTF-8 (a lone surrogate prints as U+FFFD).
std::string Printable(std::u16string_view text);
// A path or file name for printing: the bytes of the name on disk, so a name that is not
// valid UTF-8 prints as it is.
std::string PathBytes(std::u16string_view path);

}  // namespace velmora::cli
