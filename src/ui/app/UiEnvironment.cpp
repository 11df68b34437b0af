#include "ui/app/UiEnvironment.h"

#include "scan/TagSettings.h"
#include "settings/ActiveCodePage.h"

namespace velmora::ui {

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
    ActiveCodePage active = ChooseCodePage(opened.store->Root());
    result.notice = opened.notice;
    if (!result.notice.empty() && !active.notice.empty())
        result.notice += u"\n";
    result.notice += active.notice;
    result.environment.reset(
        new UiEnvironment(std::move(opened.store), std::move(active.codePage)));
    return result;
}

}  // namespace velmora::ui
