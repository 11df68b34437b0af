#include "settings/ActiveCodePage.h"

#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"
#include "text/Utf8.h"

namespace velmora {

ActiveCodePage ChooseCodePage(const SettingsKey& settings) {
    std::u16string name = settings.ReadString(settings::kCodePage);
    if (name.empty())
        name = settings::kDefaultCodePage;
    if (auto page = text::CodePage::Create(text::ToUtf8(name)))
        return {std::move(page), {}};
    return {text::CodePage::Create(text::ToUtf8(settings::kDefaultCodePage)),
            u"unknown code page " + name + u", using " + settings::kDefaultCodePage};
}

}  // namespace velmora
