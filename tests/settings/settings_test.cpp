#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include <toml++/toml.h>

#include "settings/ActiveCodePage.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"
#include "support/FakeSettingsKey.h"
#include "support/ScratchDirectory.h"
#include "text/Utf8.h"

namespace velmora::testing {
namespace {

namespace fs = std::filesystem;
namespace names = settings;

fs::path WriteText(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
    return file;
}

// Every typed read of each name, one line per name: the number ("-" when absent, "touched" when
// the out-argument changed anyway), ReadBool with the defaults true and false, text, list.
std::string Dump(const SettingsKey& key, std::initializer_list<std::string_view> valueNames) {
    std::string out;
    for (const std::string_view name : valueNames) {
        std::uint32_t number = 7;
        const bool found = key.ReadNumber(name, number);
        out += found ? std::to_string(number) : (number == 7 ? "-" : "touched");
        out += key.ReadBool(name, true) ? " T" : " F";
        out += key.ReadBool(name, false) ? "T '" : "F '";
        out += text::ToUtf8(key.ReadString(name)) + "' [";
        for (const std::u16string& entry : key.ReadList(name))
            out += text::ToUtf8(entry) + ";";
        out += "]\n";
    }
    return out;
}

// A fresh folder per test, removed afterwards, holding the settings file under test.
class SettingsTest : public ::testing::Test {
  protected:
    // Opens the store at file_, failing the test when it cannot be opened.
    std::unique_ptr<SettingsStore> OpenStore() {
        SettingsStore::OpenResult result = SettingsStore::Open(file_);
        EXPECT_NE(result.store, nullptr) << result.error;
        EXPECT_TRUE(result.notice.empty());
        return std::move(result.store);
    }

    // The texts of the files beside the settings file named "settings.toml.broken-...".
    std::vector<std::string> BrokenCopies() const {
        std::vector<std::string> texts;
        for (const auto& [path, size] : Tree())
            if (path.filename().string().starts_with("settings.toml.broken-"))
                texts.push_back(ScratchDirectory::ReadFile(path));
        return texts;
    }

    // Every path under the scratch folder with its size.
    std::vector<std::pair<fs::path, std::uintmax_t>> Tree() const {
        std::vector<std::pair<fs::path, std::uintmax_t>> tree;
        for (const auto& entry : fs::recursive_directory_iterator(folder_))
            tree.emplace_back(entry.path(), entry.is_regular_file() ? entry.file_size() : 0);
        std::sort(tree.begin(), tree.end());
        return tree;
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
    EXPECT_THAT(text::ToUtf8(result.notice), ::testing::HasSubstr(file_.string() + ".broken-"));
    EXPECT_THAT(text::ToUtf8(result.notice),
                ::testing::ContainsRegex("\\.broken-[0-9]{8}-[0-9]{6}\""));  // YYYYMMDD-HHMMSS
    result.store->Root().Write(names::kUse24, true);
    // Broken again while open: the next write keeps that one aside too and merges nothing.
    WriteText(file_, "[[[");
    result.store->Root().WriteNumber(names::kEncoding.name, 2);
    EXPECT_EQ(BrokenCopies(), (std::vector<std::string>{broken, "[[["}));
    EXPECT_EQ(Dump(OpenStore()->Root(), {names::kEncoding.name, names::kUse24.name}),
              "2 TT '' []\n1 TT '' []\n");
}

// A file named by the user is theirs and a read-only run writes nothing: neither moves a
// broken file aside, creates folders or files, or leaves a lock file. Only a regular file of at
// most 1 MiB is a settings file; nothing blocks on a FIFO or reads a device. The caller reports
// the error and ends with exit code 1, so it names path and cause.
TEST_F(SettingsTest, NamedReadOnlyOrUnfitFilesLeaveTheDiskAlone) {
    fs::create_directories(file_);  // a folder where the file belongs
    const fs::path fifo = folder_ / "fifo.toml";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const fs::path broken = WriteText(folder_ / "broken.toml", "export PATH=$HOME/bin:$PATH\n");
    const fs::path large = WriteText(folder_ / "large.toml", std::string(1024 * 1024 + 1, '#'));
    const fs::path fits =
        WriteText(folder_ / "fits.toml", "Encoding = 1 #" + std::string(1024 * 1024 - 14, 'x'));
    const char* notToml = "\" is not a settings file (line 1";
    const struct {
        fs::path file;
        SettingsOpenOptions options;
        const char* error;  // nullptr: opens
    } rows[] = {
        {broken, {.named = true}, notToml},
        {broken, {.named = true, .readOnly = true}, notToml},
        {broken, {.readOnly = true}, nullptr},
        {folder_ / "missing" / "settings.toml", {.named = true}, nullptr},
        {folder_ / "absent.toml", {.readOnly = true}, nullptr},
        {file_, {}, "\": Is a directory"},
        {fifo, {}, "\": Invalid argument"},
        {large, {}, "\": File too large"},
        {fits, {.readOnly = true}, nullptr},  // exactly 1 MiB
    };
    for (const auto& row : rows) {
        for (const bool named : {row.options.named, row.options.named || !row.options.readOnly}) {
            SCOPED_TRACE(row.file.string() + (named ? " named" : " default"));
            const auto before = Tree();
            SettingsStore::OpenResult result =
                SettingsStore::Open(row.file, {.named = named, .readOnly = row.options.readOnly});
            ASSERT_EQ(result.store == nullptr, row.error != nullptr) << result.error;
            EXPECT_EQ(result.refused, row.error != nullptr && named);
            if (!result.store) {
                EXPECT_NE(result.error.find(row.file.string() + row.error), std::string::npos)
                    << result.error;
            } else {
                // Kept for the run, never written.
                result.store->Root().Write(names::kUse24, true);
                EXPECT_TRUE(result.store->Root().Read(names::kUse24));
            }
            EXPECT_EQ(Tree(), before);
        }
    }
}

// The variables are left changed: no other test of this program reads them.
TEST(SettingsDefaultPath, UsesAnAbsoluteXdgConfigHomeElseHomeConfig) {
    ::setenv("HOME", "/home/u", 1);
    ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(SettingsStore::DefaultPath(), fs::path("/cfg/velmora/settings.toml"));
    for (const char* value : {"", "relative", static_cast<const char*>(nullptr)}) {
        value ? ::setenv("XDG_CONFIG_HOME", value, 1) : ::unsetenv("XDG_CONFIG_HOME");
        EXPECT_EQ(SettingsStore::DefaultPath(), fs::path("/home/u/.config/velmora/settings.toml"));
    }
}

// One TOML value read as a DWORD, a String and a Multi-string at once. Anything but the
// matching TOML type reads as absent: the default, the untouched out-argument, the empty
// string, the empty list. A string ends at its first NUL; 259 UTF-16 units fit, 260 do not.
TEST_F(SettingsTest, ReadEachTypeReadsOnlyItsOwnValues) {
    std::string pairs = "a";  // U+1F600 takes two UTF-16 units
    for (int i = 0; i < 129; ++i)
        pairs += "\U0001F600";
    std::vector<std::pair<std::string, std::string>> rows = {
        {"\"1\"", "- TF '1' []"},
        {"\"/music\\u0000rest\"", "- TF '/music' []"},
        {'"' + pairs + '"', "- TF '" + pairs + "' []"},
    };
    // Other types, numbers out of range, lists of mixed types, texts too long.
    using namespace std::string_literals;
    for (const std::string& toml :
         {"1.0"s, "true"s, "-1"s, "4294967296"s, "1979-05-27"s, "[\"a\", 1]"s, '"' + pairs + "a\""})
        rows.emplace_back(toml, "- TF '' []");
    for (const auto& [toml, expected] : rows) {
        WriteText(file_, "Recurse = " + toml + "\n");
        EXPECT_EQ(Dump(OpenStore()->Root(), {names::kRecurse.name}), expected + "\n");
    }
}

// Whatever a hand edit put in the file, keys with quotes or tabs, tables, arrays of tables, inline
// tables, dates, a write keeps it all and leaves a file that opens without a notice.
TEST_F(SettingsTest, HandEditedKeysAndTablesSurviveAWrite) {
    const std::string edited =
        "\"'title\" = 1\n\"a\\tb\" = \"x'y\"\n\"\" = [ 1.5, 1979-05-27, { \"k'\" = [] } ]\n"
        "[\"'artist\"]\n\"x\\\"y\".z = true\n[[\"a'b\".list]]\nv = 2\n[[\"a'b\".list]]\n";
    WriteText(file_, edited);
    OpenStore()->Root().WriteNumber(names::kRecurse.name, 0);
    toml::table expected = toml::parse(edited);
    expected.insert("Recurse", 0);
    EXPECT_EQ(toml::parse(ScratchDirectory::ReadFile(file_)), expected);
    OpenStore();
}

// Written through a link to a file with other permissions than a new file gets: the write keeps
// both. A string is stored up to its first NUL; a lone surrogate, which no TOML document can
// hold, as U+FFFD, so the file stays readable. Reads are served from memory, never the disk.
TEST_F(SettingsTest, WriteValuesSurviveReopening) {
    const fs::path target =
        WriteText(file_.parent_path() / "dotfile.toml", "Recurse = \"yes\"\nXML = 5\n");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink(target, file_);
    const std::u16string tricky = u"C:\\a \"quoted\"\ttab\nline caf\u00e9 \U0001F600 '''";
    auto store = OpenStore();
    store->Root().WriteBool(names::kRecurse.name, false);  // replaces a value of another type
    store->Root().WriteNumber(names::kEncoding.name, 4294967295u);
    store->Root().WriteString(names::kBrowseDir, tricky);
    store->Root().WriteString(names::kCodePage.name, std::u16string(u"/a\0b", 4));
    store->Root().WriteString("Lone", u"/m\xDC80x");
    store->Root().AddToList(names::kRenames, u"%artist - %title");
    store->SubKey(names::kXmlKey).WriteNumber(names::kStructure2, 4);  // replaces XML = 5
    store->SubKey(names::kXmlKey).WriteBool(names::kV2Title, false);
    // The same name in the root is another value.
    store->Root().WriteBool(names::kV2Title, true);
    EXPECT_TRUE(fs::is_symlink(file_));
    EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    // The value names and types as another program or the user sees them in the file.
    const std::string text = ScratchDirectory::ReadFile(target);
    for (const char* line : {"Recurse = 0\n", "Renames = [ \"%artist - %title\" ]\n",
                             "[XML]\nStructure2 = 4\nV2Title = 0\n", "\nV2Title = 1\n"}) {
        EXPECT_NE(text.find(line), std::string::npos) << text;
    }
    store = OpenStore();
    const auto dump = [&] {
        return Dump(store->Root(), {names::kRecurse.name, names::kEncoding.name, names::kBrowseDir,
                                    names::kCodePage.name, "Lone", names::kRenames, names::kV2Title,
                                    names::kXmlKey}) +
               Dump(store->SubKey(names::kXmlKey), {names::kStructure2, names::kV2Title});
    };
    const std::string expected = "0 FF '' []\n4294967295 TT '' []\n- TF '" + text::ToUtf8(tricky) +
                                 "' []\n- TF '/a' []\n- TF '/m\uFFFDx' []\n"
                                 "- TF '' [%artist - %title;]\n1 TT '' []\n- TF '' []\n"
                                 "4 TT '' []\n0 FF '' []\n";
    EXPECT_EQ(dump(), expected);
    fs::remove_all(file_.parent_path());
    EXPECT_EQ(dump(), expected);
    EXPECT_FALSE(fs::exists(file_.parent_path()));  // reading made nothing
}

// Recent lists: an entry added moves last, case-sensitive; empty entries are dropped; a remove
// takes the first copy; a value of another type is replaced.
TEST_F(SettingsTest, WriteRecentListOperations) {
    const std::tuple<const char*, const char16_t*, const char*> rows[] = {
        // stored TOML value, "+" add or "-" remove, the list after
        {"[\"a\", \"b\", \"c\"]", u"+a", "b;c;a;"},
        {"[\"A\"]", u"+a", "A;a;"},
        {"[\"\", \"caf\u00e9 \U0001F600\", \"\"]", u"+b", "caf\u00e9 \U0001F600;b;"},
        {"[\"a\", \"b\", \"a\"]", u"-a", "b;a;"},
        {"[\"a\"]", u"-z", "a;"},
        {"\"x\"", u"+y", "y;"},
    };
    for (const auto& [stored, action, expected] : rows) {
        SCOPED_TRACE(stored);
        WriteText(file_, std::string("Renames = ") + stored + "\n");
        auto store = OpenStore();
        const auto change =
            action[0] == u'+' ? &SettingsKey::AddToList : &SettingsKey::RemoveFromList;
        (store->Root().*change)(names::kRenames, std::u16string_view(action).substr(1));
        EXPECT_EQ(Dump(store->Root(), {names::kRenames}),
                  std::string("- TF '' [") + expected + "]\n");
    }
}

// Each child process opens its own store on the same file and adds its own entries to one
// shared list from two threads, as the loader and the interface threads share a store; all
// start when the parent closes the pipe.
TEST_F(SettingsTest, ProcessesAndThreadsWritingAtOnceKeepEachOthersValues) {
    ASSERT_NE(OpenStore(), nullptr);  // the file exists before the race starts
    int start[2];
    ASSERT_EQ(::pipe(start), 0);
    for (int writer = 0; writer < 4; ++writer) {
        if (::fork() == 0) {  // a failed fork shows as a child the parent never reaps
            ::close(start[1]);
            char byte;
            (void)::read(start[0], &byte, 1);
            const auto store = SettingsStore::Open(file_).store;
            const auto add = [&](int first) {
                for (int n = first; store && n < first + 40; n += 2) {
                    store->Root().AddToList(names::kRegExps,
                                            u"W" + text::FromUtf8(std::to_string(n)));
                }
            };
            std::thread other(add, writer * 100 + 1);
            add(writer * 100);
            other.join();
            ::_exit(store ? 0 : 1);
        }
    }
    ::close(start[0]);
    ::close(start[1]);
    for (int writer = 0; writer < 4; ++writer) {
        int status = 0;
        ASSERT_GT(::wait(&status), 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    // 40 distinct entries from each writer, and only writers add entries.
    auto list = OpenStore()->Root().ReadList(names::kRegExps);
    std::sort(list.begin(), list.end());
    EXPECT_EQ(std::unique(list.begin(), list.end()) - list.begin(), 160);
}

// A name iconv does not know must not leave the run without a code page.
TEST(ActiveCodePage, TheSettingNamesTheCodePageAndAnUnknownNameFallsBack) {
    testing::FakeSettingsKey settings;
    std::string chosen;  // the page's name and the notice, for each setting
    for (const char16_t* setting : {u"", u"ISO-8859-2", u"NO-SUCH"}) {
        settings.WriteString(names::kCodePage.name, setting);
        const ActiveCodePage active = ChooseCodePage(settings);
        chosen += active.codePage->Name() + " '" + text::ToUtf8(active.notice) + "'\n";
    }
    EXPECT_EQ(chosen,
              "CP1252 ''\nISO-8859-2 ''\nCP1252 'unknown code page NO-SUCH, using CP1252'\n");
}

}  // namespace
}  // namespace velmora::testing
