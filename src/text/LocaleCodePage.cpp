#include "text/LocaleCodePage.h"

#include <langinfo.h>
#include <locale.h>

namespace velmora::text {
namespace {

constexpr char kUtf8[] = "UTF-8";

}  // namespace

std::string LocaleEncodingName() {
    // A locale of its own, so the process's global locale is neither needed nor changed.
    const locale_t locale = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(nullptr));
    if (locale == static_cast<locale_t>(nullptr))
        return kUtf8;
    std::string name = nl_langinfo_l(CODESET, locale);
    freelocale(locale);
    if (name.empty() || name == "ANSI_X3.4-1968" || name == "ASCII")
        return kUtf8;
    return name;
}

std::unique_ptr<CodePage> LocaleCodePage() {
    if (auto page = CodePage::Create(LocaleEncodingName()))
        return page;
    return CodePage::Create(kUtf8);
}

}  // namespace velmora::text
