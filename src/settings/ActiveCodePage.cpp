#include "settings/ActiveCodePage.h"

#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"
#include "text/Utf8.h"

namespace velmora {

ActiveCodePage ChooseCodePage(const SettingsKey& settings) {
    const std::u16string name = settings.Read(settings::kCodePage);
    if (auto page = text::CodePage::Create(text::ToUtf8(name)))
        return {std::move(page), {}};
    const std::u16string fallback(settings::kCodePage.fallback);
    return {text::CodePage::Create(text::ToUtf8(fallback)),
            u"unknown code page " + name + u", using " + fallback};
}

}  // namespace velmora
