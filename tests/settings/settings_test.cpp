#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "settings/ActiveCodePage.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"
#include "support/FakeSettingsKey.h"
#include "support/ScratchDirectory.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
namespace names = settings;
using testing::ScratchDirectory;
using Entries = std::vector<std::u16string>;

// A fresh folder per test, removed afterwards, holding the settings file under test.
class SettingsTest : public ::testing::Test {
  protected:
    static void WriteText(const fs::path& file, const std::string& text) {
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << text;
    }

    // Opens the store at file_, failing the test when it cannot be opened.
    std::unique_ptr<SettingsStore> OpenStore() {
        SettingsStore::OpenResult result = SettingsStore::Open(file_);
        EXPECT_NE(result.store, nullptr) << result.error;
        EXPECT_TRUE(result.notice.empty());
        return std::move(result.store);
    }
    // Opens a store over a file holding `toml`.
    std::unique_ptr<SettingsStore> OpenWith(const std::string& toml) {
        WriteText(file_, toml);
        return OpenStore();
    }

    // The texts of the files beside the settings file named "settings.toml.broken-...".
    std::vector<std::string> BrokenCopies() const {
        std::vector<std::string> texts;
        for (const auto& entry : fs::directory_iterator(file_.parent_path())) {
            if (entry.path().filename().string().starts_with("settings.toml.broken-")) {
                texts.push_back(ScratchDirectory::ReadFile(entry.path()));
            }
        }
        std::sort(texts.begin(), texts.end());
        return texts;
    }

    ScratchDirectory scratch_;
    const fs::path folder_ = scratch_.Root();
    const fs::path file_ = folder_ / "velmora" / "settings.toml";
};

// Moved aside as settings.toml.broken-YYYYMMDD-HHMMSS, never overwritten, the user told once;
// the store starts with defaults, not half a file.
TEST_F(SettingsTest, OpenBrokenFileIsMovedAsideAndNeverOverwritten) {
    const std::string broken = "Recurse = 0\nthis is = = not toml\n";
    WriteText(file_, broken);
    SettingsStore::OpenResult result = SettingsStore::Open(file_);
    ASSERT_NE(result.store, nullptr) << result.error;
    EXPECT_TRUE(result.store->Root().Read(names::kRecurse));
    ASSERT_EQ(BrokenCopies(), std::vector<std::string>{broken});
    const std::string notice(result.notice.begin(), result.notice.end());
    EXPECT_NE(notice.find(file_.string() + ".broken-"), std::string::npos) << notice;
    const std::string stamp = notice.substr(notice.find(".broken-") + 8, 16);
    EXPECT_EQ(stamp.find_first_not_of("0123456789-"), 15u) << notice;  // YYYYMMDD-HHMMSS
    result.store->Root().Write(names::kUse24, true);
    // Broken again while open: the next write keeps that one aside too and merges nothing.
    WriteText(file_, "[[[");
    result.store->Root().WriteNumber(names::kEncoding.name, 2);
    EXPECT_EQ(BrokenCopies(), (std::vector<std::string>{broken, "[[["}));
    const auto reopened = OpenStore();
    std::uint32_t encoding = 0;
    EXPECT_TRUE(reopened->Root().ReadNumber(names::kEncoding.name, encoding));
    EXPECT_EQ(encoding, 2u);
    EXPECT_TRUE(reopened->Root().Read(names::kUse24));
}

// A file named by the user is theirs and a read-only run writes nothing: neither moves a
// broken file aside, creates folders or files, or leaves a lock file.
TEST_F(SettingsTest, NamedOrReadOnlyStoresLeaveTheDiskAlone) {
    const std::string broken = "export PATH=$HOME/bin:$PATH\n";
    const struct {
        const char* why;
        bool exists;
        SettingsOpenOptions options;
        bool opens;
    } rows[] = {
        {"named file that does not parse", true, {.named = true}, false},
        {"named file that does not parse, read-only run",
         true,
         {.named = true, .readOnly = true},
         false},
        {"default file that does not parse, read-only run", true, {.readOnly = true}, true},
        {"named file in a missing folder", false, {.named = true}, true},
        {"default file absent, read-only run", false, {.readOnly = true}, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.why);
        ScratchDirectory scratch;
        const fs::path file = scratch.Path("velmora/settings.toml");
        if (row.exists) {
            WriteText(file, broken);
        }
        SettingsStore::OpenResult result = SettingsStore::Open(file, row.options);
        ASSERT_EQ(result.store != nullptr, row.opens) << result.error;
        EXPECT_EQ(result.refused, !row.opens);
        if (result.store) {
            // Kept for the run, never written.
            result.store->Root().Write(names::kUse24, true);
            EXPECT_TRUE(result.store->Root().Read(names::kUse24));
        } else {
            EXPECT_NE(result.error.find(file.string() + "\" is not a settings file (line 1"),
                      std::string::npos)
                << result.error;
        }
        const std::vector<fs::path> expected =
            row.exists ? std::vector<fs::path>{file.parent_path(), file} : std::vector<fs::path>{};
        std::vector<fs::path> present;
        for (const auto& entry : fs::recursive_directory_iterator(scratch.Root())) {
            present.push_back(entry.path());
        }
        std::sort(present.begin(), present.end());
        EXPECT_EQ(present, expected);
        if (row.exists) {
            EXPECT_EQ(ScratchDirectory::ReadFile(file), broken);
        }
    }
}

// Only a regular file of at most 1 MiB is a settings file; nothing blocks on a FIFO or reads
// a device, and nothing is created beside either. The caller reports the error and ends with
// exit code 1, so it names path and cause.
TEST_F(SettingsTest, OnlyRegularFilesUpToOneMebibyteAreRead) {
    std::error_code ignored;
    fs::remove("/dev/zero.lock", ignored);  // left by an earlier faulty build, not by this one
    fs::create_directories(file_);          // a folder where the file belongs
    const fs::path fifo = folder_ / "fifo.toml";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const fs::path large = folder_ / "large.toml";
    WriteText(large, "# " + std::string(1024 * 1024, 'x') + "\n");
    const fs::path fits = folder_ / "fits.toml";
    WriteText(fits, "Encoding = 1 # " + std::string(1024 * 1024 - 20, 'x') + "\n");
    ASSERT_LE(fs::file_size(fits), 1024u * 1024u);
    const struct {
        fs::path file;
        const char* error;
    } rows[] = {
        {"/dev/zero", "Invalid argument"}, {file_, "Is a directory"}, {fifo, "Invalid argument"},
        {large, "File too large"},         {fits, nullptr},
    };
    for (const auto& row : rows) {
        for (const bool named : {true, false}) {
            SCOPED_TRACE(row.file.string() + (named ? " named" : " default"));
            const SettingsStore::OpenResult result =
                SettingsStore::Open(row.file, {.named = named});
            EXPECT_EQ(result.store == nullptr, row.error != nullptr);
            EXPECT_EQ(result.refused, named && row.error != nullptr);
            if (row.error != nullptr) {
                EXPECT_NE(result.error.find(row.error), std::string::npos) << result.error;
                EXPECT_NE(result.error.find(row.file.string()), std::string::npos) << result.error;
            }
            EXPECT_FALSE(fs::exists(row.file.string() + ".lock") && row.error != nullptr);
        }
    }
    EXPECT_FALSE(fs::exists("/dev/zero.lock"));
}

// Permissions other than a new file gets: a write keeps them, and the link.
TEST_F(SettingsTest, WriteKeepsSymbolicLinkAndPermissions) {
    const fs::path target = folder_ / "dotfiles" / "velmora.toml";
    WriteText(target, "Encoding = 2\n");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_directories(file_.parent_path());
    fs::create_symlink(target, file_);
    OpenStore()->Root().Write(names::kUse24, true);
    EXPECT_TRUE(fs::is_symlink(file_));
    EXPECT_EQ(ScratchDirectory::ReadFile(target), "Encoding = 2\n\"Use2.4\" = 1\n");
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

// One TOML value stored as a DWORD, a String and a Multi-string at once, and what each read
// gives. Anything but the matching TOML type reads as absent: the default, the untouched
// out-argument, the empty string, the empty list.
TEST_F(SettingsTest, ReadEachTypeReadsOnlyItsOwnValues) {
    std::string pairs = "a";  // U+1F600 takes two UTF-16 units
    std::u16string pairs16 = u"a";
    for (int i = 0; i < 129; ++i) {
        pairs += "\U0001F600";
        pairs16 += u"\U0001F600";
    }
    const struct {
        std::string toml;
        std::optional<std::uint32_t> number;
        std::u16string text;
        Entries list;
    } rows[] = {
        {"0", 0, u"", {}},
        {"4294967295", 4294967295u, u"", {}},
        // A Recurse stored as a string reads as its default, true.
        {"\"1\"", std::nullopt, u"1", {}},
        {"1.0", std::nullopt, u"", {}},
        {"true", std::nullopt, u"", {}},
        {"-1", std::nullopt, u"", {}},
        {"4294967296", std::nullopt, u"", {}},
        {"1979-05-27", std::nullopt, u"", {}},
        {"{ a = \"x\" }", std::nullopt, u"", {}},
        {"[\"a\", \"\", \"caf\u00e9 \U0001F600\"]",
         std::nullopt,
         u"",
         {u"a", u"caf\u00e9 \U0001F600"}},
        // A list whose entries are all empty reads as empty.
        {"[\"\", \"\"]", std::nullopt, u"", {}},
        {"[\"a\", 1]", std::nullopt, u"", {}},
        // A string ends at its first NUL.
        {"\"/music\\u0000rest\"", std::nullopt, u"/music", {}},
        // 259 UTF-16 units fit, 260 read as empty.
        {'"' + std::string(259, 'a') + '"', std::nullopt, std::u16string(259, u'a'), {}},
        {'"' + std::string(260, 'a') + '"', std::nullopt, u"", {}},
        {'"' + pairs + '"', std::nullopt, pairs16, {}},
        {'"' + pairs + "a\"", std::nullopt, u"", {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.toml);
        auto store = OpenWith("Recurse = " + row.toml + "\nBrowseDir = " + row.toml +
                              "\nRegExps = " + row.toml + "\n");
        std::uint32_t number = 7;
        EXPECT_EQ(store->Root().ReadNumber(names::kRecurse.name, number), row.number.has_value());
        EXPECT_EQ(number, row.number.value_or(7));
        EXPECT_EQ(store->Root().ReadBool(names::kRecurse.name, true), row.number.value_or(1) != 0);
        EXPECT_EQ(store->Root().ReadBool(names::kRecurse.name, false), row.number.value_or(0) != 0);
        EXPECT_EQ(store->Root().ReadString(names::kBrowseDir), row.text);
        EXPECT_EQ(store->Root().ReadList(names::kRegExps), row.list);
    }
}

TEST_F(SettingsTest, ReadsNeverTouchTheDisk) {
    auto store = OpenWith("Recurse = 0\nBrowseDir = \"/music\"\nRegExps = [\"x\"]\n");
    WriteText(file_, "Recurse = 1\nBrowseDir = \"/other\"\n");
    EXPECT_FALSE(store->Root().ReadBool(names::kRecurse.name, true));
    fs::remove(file_);
    fs::remove(file_.parent_path() / "settings.toml.lock");
    EXPECT_FALSE(store->Root().ReadBool(names::kRecurse.name, true));
    EXPECT_EQ(store->Root().ReadString(names::kBrowseDir), u"/music");
    EXPECT_EQ(store->Root().ReadList(names::kRegExps), Entries{u"x"});
    EXPECT_FALSE(fs::exists(file_));
    EXPECT_FALSE(fs::exists(file_.parent_path() / "settings.toml.lock"));
}

// A string is stored up to its first NUL; a lone surrogate, which no TOML document can hold,
// as U+FFFD, so the file stays readable.
TEST_F(SettingsTest, WriteValuesSurviveReopening) {
    const std::u16string tricky = u"C:\\a \"quoted\"\ttab\nline caf\u00e9 \U0001F600 '''";
    {
        auto store = OpenWith("Recurse = \"yes\"\nXML = 5\n");
        store->Root().WriteBool(names::kRecurse.name, false);  // replaces a value of another type
        store->Root().WriteNumber(names::kEncoding.name, 4294967295u);
        store->Root().WriteString(names::kBrowseDir, tricky);
        store->Root().WriteString(names::kCodePage.name, std::u16string(u"/a\0b", 4));
        store->Root().WriteString("Lone", u"/m\xDC80x");
        store->Root().AddToList(names::kRenames, u"%artist - %title");
        store->SubKey(names::kXmlKey).WriteNumber(names::kStructure2, 4);  // replaces XML = 5
        store->SubKey(names::kXmlKey).WriteBool(names::kV2Title, false);
        store->Root().WriteBool(names::kV2Title,
                                true);  // the same name in the root is another value
    }
    // The value names and types as another program or the user sees them in the file.
    const std::string text = ScratchDirectory::ReadFile(file_);
    for (const char* line :
         {"Recurse = 0\n", "Renames = [ \"%artist - %title\" ]\n", "[XML]\nStructure2 = 4\n"}) {
        EXPECT_NE(text.find(line), std::string::npos) << text;
    }
    SettingsStore::OpenResult reopened = SettingsStore::Open(file_);
    ASSERT_NE(reopened.store, nullptr);
    EXPECT_TRUE(reopened.notice.empty());
    SettingsStore& store = *reopened.store;
    EXPECT_FALSE(store.Root().ReadBool(names::kRecurse.name, true));
    std::uint32_t number = 0;
    EXPECT_TRUE(store.Root().ReadNumber(names::kEncoding.name, number));
    EXPECT_EQ(number, 4294967295u);
    EXPECT_EQ(store.Root().ReadString(names::kBrowseDir), tricky);
    EXPECT_EQ(store.Root().ReadString(names::kCodePage.name), u"/a");
    EXPECT_EQ(store.Root().ReadString("Lone"), u"/m\uFFFDx");
    EXPECT_EQ(store.Root().ReadList(names::kRenames), Entries{u"%artist - %title"});
    EXPECT_TRUE(store.SubKey(names::kXmlKey).ReadNumber(names::kStructure2, number));
    EXPECT_EQ(number, 4u);
    EXPECT_FALSE(store.SubKey(names::kXmlKey).ReadBool(names::kV2Title, true));
    EXPECT_TRUE(store.Root().ReadBool(names::kV2Title, false));
    EXPECT_FALSE(
        store.Root().ReadBool(names::kXmlKey, false));  // the sub-key is no value of the root
}

TEST_F(SettingsTest, WriteRecentListOperations) {
    const struct {
        const char* name;
        const char* stored;  // TOML value, or nullptr for absent
        bool add;
        std::u16string text;
        Entries expected;
    } rows[] = {
        {"absent becomes one entry", nullptr, true, u"a", {u"a"}},
        {"existing moves last", "[\"a\", \"b\", \"c\"]", true, u"a", {u"b", u"c", u"a"}},
        {"comparison is case-sensitive", "[\"A\"]", true, u"a", {u"A", u"a"}},
        {"empty text adds nothing", "[\"a\"]", true, u"", {u"a"}},
        {"empty entries are dropped on write", "[\"\", \"a\", \"\"]", true, u"b", {u"a", u"b"}},
        {"remove takes the first copy", "[\"a\", \"b\", \"a\"]", false, u"a", {u"b", u"a"}},
        {"remove of a missing entry changes nothing", "[\"a\"]", false, u"z", {u"a"}},
        {"a value of another type is replaced", "\"x\"", true, u"y", {u"y"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        auto store = OpenWith(row.stored ? std::string("Renames = ") + row.stored + "\n" : "");
        if (row.add) {
            store->Root().AddToList(names::kRenames, row.text);
        } else {
            store->Root().RemoveFromList(names::kRenames, row.text);
        }
        EXPECT_EQ(store->Root().ReadList(names::kRenames), row.expected);
        EXPECT_EQ(OpenStore()->Root().ReadList(names::kRenames), row.expected);
    }
}

constexpr int kWriters = 4;
constexpr int kWritesEach = 20;

std::string Name(int writer, int index) {
    return "W" + std::to_string(writer) + "N" + std::to_string(index);
}

// Each child process opens its own store on the same file and writes values nobody else
// writes, plus entries of one shared list; all start when the parent closes the pipe.
TEST_F(SettingsTest, ProcessesWritingAtOnceKeepEachOthersValues) {
    ASSERT_NE(OpenStore(), nullptr);  // the file exists before the race starts
    int start[2];
    ASSERT_EQ(::pipe(start), 0);
    std::vector<pid_t> children;
    for (int writer = 0; writer < kWriters; ++writer) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(start[1]);
            char byte;
            (void)::read(start[0], &byte, 1);
            const auto store = SettingsStore::Open(file_).store;
            for (int index = 0; store && index < kWritesEach; ++index) {
                const std::string name = Name(writer, index);
                store->Root().WriteNumber(name, static_cast<std::uint32_t>(index));
                store->Root().AddToList(names::kRegExps, std::u16string(name.begin(), name.end()));
            }
            ::_exit(store ? 0 : 1);
        }
        children.push_back(child);
    }
    ::close(start[0]);
    ::close(start[1]);
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const auto store = OpenStore();
    const std::vector<std::u16string> list = store->Root().ReadList(names::kRegExps);
    EXPECT_EQ(list.size(), std::size_t{kWriters * kWritesEach});
    for (int writer = 0; writer < kWriters; ++writer) {
        for (int index = 0; index < kWritesEach; ++index) {
            const std::string name = Name(writer, index);
            std::uint32_t number = 999;
            EXPECT_TRUE(store->Root().ReadNumber(name, number)) << name;
            EXPECT_EQ(number, static_cast<std::uint32_t>(index));
            EXPECT_EQ(
                std::count(list.begin(), list.end(), std::u16string(name.begin(), name.end())), 1);
        }
    }
}

// The loader thread reads while the interface thread writes.
TEST_F(SettingsTest, OneStoreReadFromOneThreadWrittenFromAnother) {
    auto store = OpenStore();
    std::atomic<bool> done{false};
    std::thread reader([&] {
        for (std::uint32_t encoding = 0; !done;) {
            EXPECT_LE(store->Root().ReadNumber(names::kEncoding.name, encoding) ? encoding : 0, 3u);
            EXPECT_LE(store->Root().ReadList(names::kRegExps).size(), 26u);
            (void)store->SubKey(names::kXmlKey).ReadBool(names::kV2Title, true);
        }
    });
    for (std::uint32_t i = 0; i < 40; ++i) {
        store->Root().WriteNumber(names::kEncoding.name, i % 4);
        store->Root().AddToList(names::kRegExps,
                                u"e" + std::u16string(1, static_cast<char16_t>(u'a' + i % 26)));
        store->SubKey(names::kXmlKey).WriteBool(names::kV2Title, i % 2 == 0);
    }
    done = true;
    reader.join();
    EXPECT_EQ(store->Root().ReadList(names::kRegExps).size(), 26u);
}

// A name iconv does not know must not leave the run without a code page.
TEST(ActiveCodePage, TheSettingNamesTheCodePageAndAnUnknownNameFallsBack) {
    const std::tuple<const char16_t*, const char*, std::u16string_view> rows[] = {
        {u"", "CP1252", u""},
        {u"ISO-8859-2", "ISO-8859-2", u""},
        {u"NO-SUCH", "CP1252", u"unknown code page NO-SUCH, using CP1252"}};
    for (const auto& [setting, expected, notice] : rows) {
        testing::FakeSettingsKey settings;
        settings.WriteString(names::kCodePage.name, setting);
        const ActiveCodePage active = ChooseCodePage(settings);
        ASSERT_NE(active.codePage, nullptr) << expected;
        EXPECT_EQ(active.codePage->Name(), expected);
        EXPECT_EQ(active.notice, notice) << expected;
    }
}

}  // namespace
}  // namespace velmora
