#pragma once

#include <memory>
#include <string>

#include "text/CodePage.h"

namespace velmora::text {

// The iconv name of the encoding of the user's locale (LC_CTYPE as the environment sets it), the
// encoding other programs read a text file in. The C and POSIX locales, whose codeset is ASCII,
// count as UTF-8, as current systems treat them.
std::string LocaleEncodingName();

// The converter for that encoding (UTF-8 when iconv does not know it); the 8-bit code page
// setting is for tag text only.
std::unique_ptr<CodePage> LocaleCodePage();

}  // namespace velmora::text
