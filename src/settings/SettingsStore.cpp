#include "settings/SettingsStore.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>

#include "settings/SettingsFile.h"
#include "settings/TomlSettingsStore.h"
#include "text/Utf8.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

fs::path HomeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return home;
    }
    passwd entry{};
    passwd* found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(::getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found) {
        return found->pw_dir;
    }
    return ".";
}

std::string Failure(std::string_view what, const fs::path& path, std::error_code error) {
    return std::string(what) + " \"" + path.native() + "\": " + error.message();
}

std::u16string BrokenFileNotice(const fs::path& file, const fs::path& movedTo,
                                const toml::parse_error& error) {
    const toml::source_position where = error.source().begin;
    const std::string text = "The settings file \"" + file.native() +
                             "\" could not be read (line " + std::to_string(where.line) +
                             ", column " + std::to_string(where.column) + ": " +
                             std::string(error.description()) + "). It was moved to \"" +
                             movedTo.native() + "\" and the default settings are used.";
    return text::FromUtf8(text);
}

}  // namespace

fs::path SettingsStore::DefaultPath() {
    fs::path base;
    // The XDG Base Directory rules make relative values invalid: they are ignored.
    if (const char* config = std::getenv("XDG_CONFIG_HOME");
        config != nullptr && fs::path(config).is_absolute()) {
        base = config;
    } else {
        base = HomeFolder() / ".config";
    }
    return base / "velmora" / "settings.toml";
}

SettingsStore::OpenResult SettingsStore::Open(const fs::path& requested) {
    const fs::path file = settings::FollowLinks(requested);
    OpenResult result;
    std::error_code error;
    if (file.has_parent_path()) {
        fs::create_directories(file.parent_path(), error);
        if (error) {
            result.error = Failure("Cannot create the settings folder", file.parent_path(), error);
            return result;
        }
    }
    // Without the lock (a read-only folder) the file can still be read; writes then fail.
    settings::UniqueFd lock;
    (void)settings::LockExclusive(settings::LockPathFor(file), lock);

    std::optional<std::string> text;
    if ((error = settings::ReadFileIfPresent(file, text))) {
        result.error = Failure("Cannot read the settings file", file, error);
        return result;
    }
    toml::table values;
    if (!text) {
        if ((error = settings::CreateFileIfAbsent(file))) {
            result.error = Failure("Cannot create the settings file", file, error);
            return result;
        }
    } else {
        try {
            values = toml::parse(*text, file.native());
        } catch (const toml::parse_error& parseError) {
            fs::path movedTo;
            if ((error = settings::MoveAside(file, std::time(nullptr), movedTo))) {
                result.error =
                    Failure("Cannot move aside the unreadable settings file", file, error);
                return result;
            }
            result.notice = BrokenFileNotice(file, movedTo, parseError);
        }
    }
    result.store = std::make_unique<settings::TomlSettingsStore>(file, std::move(values));
    return result;
}

}  // namespace velmora
