#include "tags/EncodingPolicy.h"

#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

namespace velmora {

EncodingPolicy EncodingPolicy::Read(const SettingsKey& settings) {
    EncodingPolicy policy;
    policy.use24 = settings.ReadBool(settings::kUse24, false);
    std::uint32_t value = 0;
    if (settings.ReadNumber(settings::kEncoding, value))
        policy.encoding = value;
    return policy;
}

std::uint8_t EncodingPolicy::StoredFor(std::uint8_t source) const {
    if (!use24)
        return source;
    switch (encoding) {
        case 1:
            return 2;
        case 2:
            return 1;
        case 3:
            return 3;
        default:
            return source;
    }
}

}  // namespace velmora
