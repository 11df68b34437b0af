#pragma once

#include <locale.h>

namespace velmora::text {

// Upper-cases single characters as the C library does in a UTF-8 locale: the simple case
// mappings of Unicode (é to É, ő to Ő, ж to Ж), whatever the user's own locale; a to z alone
// where no UTF-8 locale is installed.
class UpperCase {
  public:
    UpperCase();
    ~UpperCase();
    UpperCase(const UpperCase&) = delete;
    UpperCase& operator=(const UpperCase&) = delete;

    char32_t operator()(char32_t c) const;

  private:
    locale_t locale_;
};

}  // namespace velmora::text
