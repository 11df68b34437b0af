#include "settings/SettingsState.h"

#include <ctime>

#include "settings/SettingsFile.h"
#include "settings/SettingsText.h"

namespace velmora::settings {

SettingsState::SettingsState(std::filesystem::path file, toml::table values, bool named,
                             bool readOnly)
    : file_(std::move(file)), named_(named), readOnly_(readOnly), values_(std::move(values)) {}

void SettingsState::Write(std::string_view subKey, const Change& change) {
    const std::lock_guard writing(writeMutex_);
    {
        const std::lock_guard lock(valuesMutex_);
        change(MakeKey(values_, subKey));
    }
    if (readOnly_) {
        return;
    }
    std::optional<toml::table> merged = MergeWithDisk(subKey, change);
    if (merged) {
        const std::lock_guard lock(valuesMutex_);
        values_ = std::move(*merged);
    }
}

std::optional<toml::table> SettingsState::MergeWithDisk(std::string_view subKey,
                                                        const Change& change) {
    UniqueFd lock;
    std::optional<std::string> text;
    if (LockExclusive(LockPathFor(file_), lock) || ReadFileIfPresent(file_, text)) {
        return std::nullopt;
    }
    toml::table merged;
    bool fromMemory = !text;  // a file removed meanwhile gets what this process holds
    if (text) {
        try {
            merged = toml::parse(*text, file_.native());
            change(MakeKey(merged, subKey));
        } catch (const toml::parse_error&) {
            // Broken after start-up: keep it for the user and write memory instead; a file
            // the user named is theirs to mend.
            std::filesystem::path movedTo;
            if (named_) {
                return std::nullopt;
            }
            if (MoveAside(file_, std::time(nullptr), movedTo)) {
                return std::nullopt;
            }
            fromMemory = true;
        }
    }
    if (fromMemory) {
        // Memory already holds this change.
        const std::lock_guard values(valuesMutex_);
        merged = values_;
    }
    if (ReplaceFile(file_, FormatSettings(merged))) {
        return std::nullopt;
    }
    return merged;
}

}  // namespace velmora::settings
