#pragma once

#include <memory>
#include <string>

#include "text/CodePage.h"

namespace velmora {

class SettingsKey;

// The code page every conversion of a run uses, as the setting CodePage names it (an iconv
// name; empty or absent gives the default). A name iconv does not know falls back to the
// default, and the notice says so for the caller to show.
struct ActiveCodePage {
    std::unique_ptr<text::CodePage> codePage;
    std::u16string notice;  // empty when the setting was used as it stands
};
ActiveCodePage ChooseCodePage(const SettingsKey& settings);

}  // namespace velmora
