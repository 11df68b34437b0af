#pragma once

#include <string>
#include <string_view>

namespace velmora::regex::testing {

// ASCII test text to UTF-16 (tests that need other characters write u"" literals).
inline std::u16string U16(std::string_view ascii) {
    return {ascii.begin(), ascii.end()};
}

}  // namespace velmora::regex::testing
