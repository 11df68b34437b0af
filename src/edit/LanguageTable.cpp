#include "edit/LanguageTable.h"

#include <string>

#include "text/Ascii.h"

namespace velmora::edit {
namespace {

constexpr std::u16string_view kDefaultLanguage = u"English";
constexpr std::string_view kUnknownLanguage = "XXX";

bool IsThreeLetters(std::string_view code) {
    if (code.size() != 3)
        return false;
    for (char c : code) {
        if (c < 'a' || c > 'z')
            return false;
    }
    return true;
}

}  // namespace

std::string_view LanguageCode(std::u16string_view name) {
    for (const LanguageRow& row : kLanguageRows) {
        if (row.name == name)
            return row.code;
    }
    return kLanguageRows[0].code;
}

std::u16string_view LanguageName(std::string_view code) {
    // Files may hold the code in capitals ("ENG").
    const std::string lower = text::AsciiLower(code);
    for (const LanguageRow& row : kLanguageRows) {
        if (row.code == lower)
            return row.name;
    }
    return kLanguageRows[0].name;
}

std::u16string_view LanguageToPreselect(const std::optional<std::string>& code) {
    if (code && !code->empty()) {
        if (const std::u16string_view name = LanguageName(*code); !name.empty())
            return name;
    }
    return kDefaultLanguage;
}

std::string LanguageToStore(std::u16string_view name) {
    const std::string_view code = LanguageCode(name);
    return std::string(IsThreeLetters(code) ? code : kUnknownLanguage);
}

}  // namespace velmora::edit
