#include "text/UpperCase.h"

#include <wctype.h>

#include <initializer_list>

namespace velmora::text {
namespace {

constexpr auto kNoLocale = static_cast<locale_t>(nullptr);

locale_t Utf8Locale() {
    for (const char* name : {"C.UTF-8", "C.utf8", "en_US.UTF-8"}) {
        if (const locale_t locale = newlocale(LC_CTYPE_MASK, name, kNoLocale))
            return locale;
    }
    return kNoLocale;
}

}  // namespace

UpperCase::UpperCase() : locale_(Utf8Locale()) {}

UpperCase::~UpperCase() {
    if (locale_ != kNoLocale)
        freelocale(locale_);
}

char32_t UpperCase::operator()(char32_t c) const {
    if (c >= u'a' && c <= u'z')
        return c - u'a' + u'A';
    if (locale_ == kNoLocale || c < 0x80)
        return c;
    return static_cast<char32_t>(towupper_l(static_cast<wint_t>(c), locale_));
}

}  // namespace velmora::text
