#pragma once

#include <string_view>

#include "batch/regex/RegexError.h"

namespace velmora::regex {

// What a compile error means, in words a user can act on ("a group is opened but never
// closed"), for a dialog or a terminal that explains why an expression was refused.
std::u16string_view RegexErrorMeaning(REGEXPERROR code);

}  // namespace velmora::regex
