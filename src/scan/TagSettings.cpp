#include "scan/TagSettings.h"

#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

namespace velmora {

TagOptions ReadTagOptions(const SettingsKey& settings) {
    TagOptions options;
    options.encoding.use24 = settings.Read(settings::kUse24);
    options.encoding.encoding = settings.Read(settings::kEncoding);
    options.autoDeleteV1 = settings.Read(settings::kAutoDeleteV1);
    return options;
}

}  // namespace velmora
