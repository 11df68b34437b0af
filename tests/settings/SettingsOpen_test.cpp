#include <gtest/gtest.h>
#include <stdlib.h>

#include <optional>
#include <string>

#include "SettingsFixture.h"
#include "settings/SettingNames.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
namespace names = settings;
using testing::SettingsFixture;

class SettingsOpen : public SettingsFixture {
  protected:
    // The files beside the settings file whose names start with "settings.toml.broken-".
    std::vector<fs::path> BrokenCopies() const {
        std::vector<fs::path> found;
        for (const auto& entry : fs::directory_iterator(file_.parent_path())) {
            if (entry.path().filename().string().starts_with("settings.toml.broken-")) {
                found.push_back(entry.path());
            }
        }
        std::sort(found.begin(), found.end());
        return found;
    }
};

TEST_F(SettingsOpen, CreatesFolderAndFile) {
    ASSERT_FALSE(fs::exists(file_.parent_path()));
    auto store = OpenStore();
    ASSERT_NE(store, nullptr);
    EXPECT_TRUE(fs::is_regular_file(file_));
    EXPECT_TRUE(store->ReadBool(names::kRecurse, true));
}

TEST_F(SettingsOpen, FailsWithPathAndSystemErrorWhenFolderCannotBeCreated) {
    WriteText(folder_ / "plain", "not a folder");
    const fs::path file = folder_ / "plain" / "velmora" / "settings.toml";
    SettingsStore::OpenResult result = SettingsStore::Open(file);
    EXPECT_EQ(result.store, nullptr);
    EXPECT_NE(result.error.find((folder_ / "plain").string()), std::string::npos) << result.error;
    EXPECT_NE(result.error.find("Not a directory"), std::string::npos) << result.error;
}

TEST_F(SettingsOpen, FailsWhenFileCannotBeRead) {
    fs::create_directories(file_);  // a folder where the file belongs
    SettingsStore::OpenResult result = SettingsStore::Open(file_);
    EXPECT_EQ(result.store, nullptr);
    EXPECT_NE(result.error.find(file_.string()), std::string::npos) << result.error;
    EXPECT_NE(result.error.find("Is a directory"), std::string::npos) << result.error;
}

TEST_F(SettingsOpen, BrokenFileIsMovedAsideAndNeverOverwritten) {
    const std::string broken = "Recurse = 0\nthis is = = not toml\n";
    WriteText(file_, broken);
    SettingsStore::OpenResult result = SettingsStore::Open(file_);
    ASSERT_NE(result.store, nullptr) << result.error;
    EXPECT_TRUE(result.store->ReadBool(names::kRecurse, true));  // defaults, not half a file

    const std::vector<fs::path> copies = BrokenCopies();
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(ReadText(copies[0]), broken);
    // settings.toml.broken-YYYYMMDD-HHMMSS
    EXPECT_EQ(copies[0].filename().string().size(),
              std::string("settings.toml.broken-").size() + 15);
    const std::string notice(result.notice.begin(), result.notice.end());
    EXPECT_NE(notice.find(copies[0].string()), std::string::npos) << notice;

    result.store->WriteBool(names::kUse24, true);
    EXPECT_EQ(ReadText(copies[0]), broken);
    EXPECT_TRUE(OpenStore()->ReadBool(names::kUse24, false));
}

TEST_F(SettingsOpen, SecondBrokenFileDoesNotReplaceTheFirst) {
    WriteText(file_, "= first");
    ASSERT_NE(SettingsStore::Open(file_).store, nullptr);
    WriteText(file_, "= second");
    ASSERT_NE(SettingsStore::Open(file_).store, nullptr);
    const std::vector<fs::path> copies = BrokenCopies();
    ASSERT_EQ(copies.size(), 2u);
    std::vector<std::string> texts{ReadText(copies[0]), ReadText(copies[1])};
    std::sort(texts.begin(), texts.end());
    EXPECT_EQ(texts, (std::vector<std::string>{"= first", "= second"}));
}

TEST_F(SettingsOpen, FileBrokenAfterOpeningIsKeptOnNextWrite) {
    auto store = OpenWith("Encoding = 2\n");
    WriteText(file_, "[[[");
    store->WriteBool(names::kUse24, true);
    const std::vector<fs::path> copies = BrokenCopies();
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(ReadText(copies[0]), "[[[");
    auto reopened = OpenStore();
    std::uint32_t encoding = 0;
    EXPECT_TRUE(reopened->ReadNumber(names::kEncoding, encoding));
    EXPECT_EQ(encoding, 2u);
    EXPECT_TRUE(reopened->ReadBool(names::kUse24, false));
}

TEST_F(SettingsOpen, ReadsNeverTouchTheDisk) {
    auto store = OpenWith("Recurse = 0\nBrowseDir = \"/music\"\nRegExps = [\"x\"]\n");
    WriteText(file_, "Recurse = 1\nBrowseDir = \"/other\"\n");
    EXPECT_FALSE(store->ReadBool(names::kRecurse, true));
    fs::remove(file_);
    fs::remove(file_.parent_path() / "settings.toml.lock");
    EXPECT_FALSE(store->ReadBool(names::kRecurse, true));
    EXPECT_EQ(store->ReadString(names::kBrowseDir), u"/music");
    EXPECT_EQ(store->ReadList(names::kRegExps), std::vector<std::u16string>{u"x"});
    EXPECT_FALSE(fs::exists(file_));
    EXPECT_FALSE(fs::exists(file_.parent_path() / "settings.toml.lock"));
}

TEST_F(SettingsOpen, FileRemovedAfterOpeningIsRewrittenFromMemory) {
    auto store = OpenWith("Encoding = 2\n");
    fs::remove(file_);
    store->WriteBool(names::kUse24, true);
    auto reopened = OpenStore();
    std::uint32_t encoding = 0;
    EXPECT_TRUE(reopened->ReadNumber(names::kEncoding, encoding));
    EXPECT_TRUE(reopened->ReadBool(names::kUse24, false));
}

TEST_F(SettingsOpen, FailedWriteKeepsTheValueInMemory) {
    auto store = OpenStore();
    // A folder in place of the lock file makes every write to disk fail, even for root.
    fs::remove(file_.parent_path() / "settings.toml.lock");
    fs::create_directory(file_.parent_path() / "settings.toml.lock");
    store->WriteNumber(names::kEncoding, 1);
    std::uint32_t encoding = 0;
    EXPECT_TRUE(store->ReadNumber(names::kEncoding, encoding));
    EXPECT_EQ(encoding, 1u);
    EXPECT_EQ(ReadText(file_), "");
}

TEST_F(SettingsOpen, WriteKeepsSymbolicLinkAndPermissions) {
    const fs::path target = folder_ / "dotfiles" / "velmora.toml";
    WriteText(target, "Encoding = 2\n");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_directories(file_.parent_path());
    fs::create_symlink(target, file_);
    auto store = OpenStore();
    store->WriteBool(names::kUse24, true);
    EXPECT_TRUE(fs::is_symlink(file_));
    EXPECT_NE(ReadText(target).find("\"Use2.4\" = 1"), std::string::npos);
    EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

class DefaultPath : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"XDG_CONFIG_HOME", "HOME"}) {
            const char* value = std::getenv(name);
            saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
        }
    }
    void TearDown() override {
        for (const auto& [name, value] : saved_) {
            value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name);
        }
    }
    std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

TEST_F(DefaultPath, UsesXdgConfigHomeElseHomeConfig) {
    ::setenv("HOME", "/home/u", 1);
    ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(SettingsStore::DefaultPath(), fs::path("/cfg/velmora/settings.toml"));
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(SettingsStore::DefaultPath(), fs::path("/home/u/.config/velmora/settings.toml"));
    ::setenv("XDG_CONFIG_HOME", "", 1);
    EXPECT_EQ(SettingsStore::DefaultPath(), fs::path("/home/u/.config/velmora/settings.toml"));
    ::setenv("XDG_CONFIG_HOME", "relative", 1);
    EXPECT_EQ(SettingsStore::DefaultPath(), fs::path("/home/u/.config/velmora/settings.toml"));
}

}  // namespace
}  // namespace velmora
