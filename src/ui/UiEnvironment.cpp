#include "ui/UiEnvironment.h"

#include "scan/TagSettings.h"
#include "settings/SettingNames.h"
#include "text/Utf8.h"

namespace velmora::ui {
namespace {

// The code page the store names, or the default one when it names none iconv knows.
std::unique_ptr<text::CodePage> ActiveCodePage(const SettingsKey& settings,
                                               std::u16string& notice) {
    const std::u16string name = settings.Read(settings::kCodePage);
    if (auto page = text::CodePage::Create(text::ToUtf8(name)))
        return page;
    const std::u16string fallback(settings::kCodePage.fallback);
    if (!notice.empty())
        notice += u"\n";
    notice += u"The code page " + name + u" is not known; " + fallback + u" is used instead.";
    return text::CodePage::Create(text::ToUtf8(fallback));
}

}  // namespace

UiEnvironment::UiEnvironment(std::unique_ptr<SettingsStore> store,
                             std::unique_ptr<text::CodePage> codePage)
    : store_(std::move(store)),
      codePage_(std::move(codePage)),
      context_{ReadTagOptions(store_->Root()), *codePage_, sink_} {}

UiEnvironment::OpenResult UiEnvironment::Open(const std::filesystem::path& settingsFile) {
    OpenResult result;
    auto opened = SettingsStore::Open(settingsFile);
    if (!opened.store) {
        result.error = opened.error;
        return result;
    }
    result.notice = opened.notice;
    auto codePage = ActiveCodePage(opened.store->Root(), result.notice);
    result.environment.reset(new UiEnvironment(std::move(opened.store), std::move(codePage)));
    return result;
}

}  // namespace velmora::ui
