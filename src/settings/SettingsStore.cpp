#include "settings/SettingsStore.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>

#include "replace/RegularFile.h"
#include "replace/SafeReplace.h"
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

std::string ParseFailure(const toml::parse_error& error) {
    const toml::source_position where = error.source().begin;
    return "line " + std::to_string(where.line) + ", column " + std::to_string(where.column) +
           ": " + std::string(error.description());
}

std::string NotSettingsText(const fs::path& file, const toml::parse_error& error) {
    return "\"" + file.native() + "\" is not a settings file (" + ParseFailure(error) +
           "); it was left as it is";
}

// `movedTo` empty: the file was left where it is (a run that writes nothing).
std::u16string BrokenFileNotice(const fs::path& file, const fs::path& movedTo,
                                const toml::parse_error& error) {
    const std::string text = "The settings file \"" + file.native() + "\" could not be read (" +
                             ParseFailure(error) + "). " +
                             (movedTo.empty() ? std::string("It was left as it is")
                                              : "It was moved to \"" + movedTo.native() + "\"") +
                             " and the default settings are used.";
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

SettingsStore::OpenResult SettingsStore::Open(const fs::path& requested,
                                              SettingsOpenOptions options) {
    const fs::path file = replace::FollowLinks(requested.native());
    OpenResult result;
    const auto fail = [&](std::string_view what, const fs::path& path, std::error_code error) {
        result.error = Failure(what, path, error);
        result.refused = options.named;
        return std::move(result);
    };
    // Checked before anything is created beside it or read from it (a FIFO would block).
    struct stat existing {};
    if (::stat(file.c_str(), &existing) == 0) {
        if (replace::RegularFileError(existing) != 0) {
            return fail("Not a settings file", file,
                        {replace::RegularFileError(existing), std::generic_category()});
        }
        if (settings::TooLargeForSettings(static_cast<std::uint64_t>(existing.st_size))) {
            return fail("Not a settings file", file,
                        std::make_error_code(std::errc::file_too_large));
        }
    }
    const bool creates = !options.named && !options.readOnly;
    std::error_code error;
    if (creates && file.has_parent_path()) {
        fs::create_directories(file.parent_path(), error);
        if (error) {
            return fail("Cannot create the settings folder", file.parent_path(), error);
        }
    }
    // The lock guards creating the file and moving it aside. Without it (a read-only
    // folder) the file can still be read; writes then fail.
    UniqueFd lock;
    if (creates) {
        (void)settings::LockExclusive(settings::LockPathFor(file), lock);
    }
    std::optional<std::string> text;
    if ((error = settings::ReadFileIfPresent(file, text))) {
        return fail("Cannot read the settings file", file, error);
    }
    if (!text && creates && (error = settings::CreateFileIfAbsent(file))) {
        return fail("Cannot create the settings file", file, error);
    }
    toml::table values;
    if (text) {
        try {
            values = toml::parse(*text, file.native());
        } catch (const toml::parse_error& parseError) {
            if (options.named) {
                result.error = NotSettingsText(file, parseError);
                result.refused = true;
                return result;
            }
            fs::path movedTo;
            if (!options.readOnly &&
                (error = settings::MoveAside(file, std::time(nullptr), movedTo))) {
                return fail("Cannot move aside the unreadable settings file", file, error);
            }
            result.notice = BrokenFileNotice(file, movedTo, parseError);
        }
    }
    result.store = std::make_unique<settings::TomlSettingsStore>(file, std::move(values), options);
    return result;
}

}  // namespace velmora
