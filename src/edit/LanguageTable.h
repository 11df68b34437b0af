#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "edit/LanguageRows.h"

namespace velmora::edit {

// The rows of the comment language list (kLanguageRows, made by make_language_rows.py): row 0
// is empty, the others name an ISO 639-2 language. Lookups compare whole strings exactly and
// take the first matching row.

// The code of the first row with the name; empty when none has it.
std::string_view LanguageCode(std::u16string_view name);
// The name of the first row with the code; empty when none has it.
std::u16string_view LanguageName(std::string_view code);

// The row a comment with this language opens on: its code's row, else English.
std::u16string_view LanguageToPreselect(const std::optional<std::string>& code);
// The three bytes a new comment stores for the chosen row: its code, or "XXX" (unknown
// language) for the rows whose code is not three letters (the empty row, the local range).
std::string LanguageToStore(std::u16string_view name);

}  // namespace velmora::edit
