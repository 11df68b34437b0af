#pragma once

#include <filesystem>
#include <optional>

#include "history/HistorySession.h"
#include "settings/SettingsStore.h"

namespace velmora {

// The history a run that writes files records into, as the user set it.
struct SaveHistory {
    std::filesystem::path file;
    history::HistoryLimits limits;
};

// The limits the user set for the history of saves.
history::HistoryLimits HistoryLimitsOf(const SettingsKey& settings);
// The store of the history and its limits; none when the user keeps no history.
std::optional<SaveHistory> SaveHistoryOf(const SettingsKey& settings);

}  // namespace velmora
