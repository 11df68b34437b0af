#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "SettingsFixture.h"
#include "settings/SettingNames.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
namespace names = settings;

class SettingsOpen : public testing::SettingsFixture {
  protected:
    // The texts of the files beside the settings file named "settings.toml.broken-...".
    std::vector<std::string> BrokenCopies() const {
        std::vector<std::string> texts;
        for (const auto& entry : fs::directory_iterator(file_.parent_path())) {
            if (entry.path().filename().string().starts_with("settings.toml.broken-")) {
                texts.push_back(ReadText(entry.path()));
            }
        }
        std::sort(texts.begin(), texts.end());
        return texts;
    }
};

// The caller reports the error and ends with exit code 1, so it must name path and cause.
TEST_F(SettingsOpen, FailureNamesThePathAndTheSystemError) {
    fs::create_directories(file_);  // a folder where the file belongs
    const SettingsStore::OpenResult result = SettingsStore::Open(file_);
    EXPECT_EQ(result.store, nullptr);
    EXPECT_NE(result.error.find(file_.string()), std::string::npos) << result.error;
    EXPECT_NE(result.error.find("Is a directory"), std::string::npos) << result.error;
}

// Moved aside as settings.toml.broken-YYYYMMDD-HHMMSS, never overwritten, the user told once;
// the store starts with defaults, not half a file.
TEST_F(SettingsOpen, BrokenFileIsMovedAsideAndNeverOverwritten) {
    const std::string broken = "Recurse = 0\nthis is = = not toml\n";
    WriteText(file_, broken);
    SettingsStore::OpenResult result = SettingsStore::Open(file_);
    ASSERT_NE(result.store, nullptr) << result.error;
    EXPECT_TRUE(result.store->ReadBool(names::kRecurse, true));
    ASSERT_EQ(BrokenCopies(), std::vector<std::string>{broken});
    const std::string notice(result.notice.begin(), result.notice.end());
    EXPECT_NE(notice.find(file_.string() + ".broken-"), std::string::npos) << notice;
    const std::string stamp = notice.substr(notice.find(".broken-") + 8, 16);
    EXPECT_EQ(stamp.find_first_not_of("0123456789-"), 15u) << notice;  // YYYYMMDD-HHMMSS
    result.store->WriteBool(names::kUse24, true);
    // Broken again while open: the next write keeps that one aside too and merges nothing.
    WriteText(file_, "[[[");
    result.store->WriteNumber(names::kEncoding, 2);
    EXPECT_EQ(BrokenCopies(), (std::vector<std::string>{broken, "[[["}));
    const auto reopened = OpenStore();
    std::uint32_t encoding = 0;
    EXPECT_TRUE(reopened->ReadNumber(names::kEncoding, encoding));
    EXPECT_EQ(encoding, 2u);
    EXPECT_TRUE(reopened->ReadBool(names::kUse24, false));
}

TEST_F(SettingsOpen, WriteKeepsSymbolicLinkAndPermissions) {
    const fs::path target = folder_ / "dotfiles" / "velmora.toml";
    WriteText(target, "Encoding = 2\n");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_directories(file_.parent_path());
    fs::create_symlink(target, file_);
    OpenStore()->WriteBool(names::kUse24, true);
    EXPECT_TRUE(fs::is_symlink(file_));
    EXPECT_EQ(ReadText(target), "Encoding = 2\n\"Use2.4\" = 1\n");
    EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

TEST(SettingsDefaultPath, UsesAnAbsoluteXdgConfigHomeElseHomeConfig) {
    const char* home = std::getenv("HOME");
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const std::optional<std::string> saved[] = {
        home ? std::optional<std::string>(home) : std::nullopt,
        xdg ? std::optional<std::string>(xdg) : std::nullopt};
    ::setenv("HOME", "/home/u", 1);
    ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(SettingsStore::DefaultPath(), fs::path("/cfg/velmora/settings.toml"));
    for (const char* value : {"", "relative", static_cast<const char*>(nullptr)}) {
        value ? ::setenv("XDG_CONFIG_HOME", value, 1) : ::unsetenv("XDG_CONFIG_HOME");
        EXPECT_EQ(SettingsStore::DefaultPath(), fs::path("/home/u/.config/velmora/settings.toml"));
    }
    saved[0] ? ::setenv("HOME", saved[0]->c_str(), 1) : ::unsetenv("HOME");
    saved[1] ? ::setenv("XDG_CONFIG_HOME", saved[1]->c_str(), 1) : ::unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace velmora
