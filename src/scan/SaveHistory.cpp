#include "scan/SaveHistory.h"

#include "history/HistoryStore.h"
#include "settings/SettingNames.h"

namespace velmora {
namespace {

constexpr std::uint64_t kMebibyte = 1024 * 1024;

}  // namespace

history::HistoryLimits HistoryLimitsOf(const SettingsKey& settings) {
    return {settings.Read(settings::kHistoryKeepDays),
            settings.Read(settings::kHistoryMaxMiB) * kMebibyte};
}

std::optional<SaveHistory> SaveHistoryOf(const SettingsKey& settings) {
    if (!settings.Read(settings::kKeepHistory))
        return std::nullopt;
    return SaveHistory{history::HistoryStore::DefaultFile(), HistoryLimitsOf(settings)};
}

}  // namespace velmora
