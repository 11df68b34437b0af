#include "scan/DirectoryWalk.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

#include "text/FileName.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

class DirectoryWalkTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("velmora-walk-" + std::to_string(getpid()));
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    void TearDown() override { fs::remove_all(root_); }

    void Touch(const fs::path& relative) {
        fs::create_directories((root_ / relative).parent_path());
        std::ofstream(root_ / relative) << "x";
    }

    std::vector<std::string> Walk(bool recurse) {
        std::vector<std::string> seen;
        WalkDirectory(text::FileNameToText(root_.string()), recurse,
                      [&](const std::u16string& dir, const std::u16string& name) {
                          fs::path full = text::TextToFileName(dir + u"/" + name);
                          seen.push_back(fs::relative(full, root_).string());
                      });
        return seen;
    }

    fs::path root_;
};

TEST(Mp3Extension, ComparesTheLastFourCharactersWithoutCase) {
    struct Row {
        std::u16string name;
        bool mp3;
    } rows[] = {{u"a.mp3", true}, {u"a.MP3", true},      {u"a.Mp3", true}, {u".mp3", true},
                {u"mp3", false},  {u"a.mp3.bak", false}, {u"a.mp", false}, {u"a_mp3", false}};
    for (const auto& row : rows)
        EXPECT_EQ(HasMp3Extension(row.name), row.mp3);
}

TEST_F(DirectoryWalkTest, FindsMp3FilesAndSkipsOthers) {
    Touch("a.mp3");
    Touch("B.MP3");
    Touch("c.mp3.bak");
    Touch("notes.txt");
    auto seen = Walk(true);
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen, (std::vector<std::string>{"B.MP3", "a.mp3"}));
}

TEST_F(DirectoryWalkTest, RecursesDepthFirstOnlyWhenAsked) {
    Touch("top.mp3");
    Touch("sub/one.mp3");
    Touch("sub/two.mp3");
    Touch("sub/deeper/three.mp3");
    Touch("..dots/four.mp3");
    EXPECT_EQ(Walk(false), (std::vector<std::string>{"top.mp3"}));

    auto seen = Walk(true);
    ASSERT_EQ(seen.size(), 5u);
    // Depth first: everything under sub/ comes in one run.
    auto first =
        std::find_if(seen.begin(), seen.end(), [](auto& s) { return s.rfind("sub/", 0) == 0; });
    ASSERT_NE(first, seen.end());
    EXPECT_TRUE(std::all_of(first, first + 3, [](auto& s) { return s.rfind("sub/", 0) == 0; }));
    EXPECT_NE(std::find(seen.begin(), seen.end(), "..dots/four.mp3"), seen.end());
}

TEST_F(DirectoryWalkTest, ALinkBackUpTheTreeIsNotFollowedForever) {
    Touch("sub/one.mp3");
    fs::create_directory_symlink(root_, root_ / "sub" / "loop");
    fs::create_directory_symlink(root_ / "sub", root_ / "again");
    auto seen = Walk(true);
    EXPECT_EQ(seen.size(), 1u);
}

TEST_F(DirectoryWalkTest, NamesThatAreNotUtf8AreFoundAndOpenable) {
    std::string name = "caf\xE9.mp3";
    Touch(name);
    std::vector<std::u16string> paths;
    WalkDirectory(text::FileNameToText(root_.string()), true,
                  [&](const std::u16string& dir, const std::u16string& n) {
                      paths.push_back(dir + u"/" + n);
                  });
    ASSERT_EQ(paths.size(), 1u);
    EXPECT_TRUE(fs::exists(text::TextToFileName(paths[0])));
}

TEST_F(DirectoryWalkTest, AMissingDirectoryYieldsNothing) {
    std::vector<std::u16string> seen;
    WalkDirectory(text::FileNameToText((root_ / "absent").string()), true,
                  [&](const std::u16string&, const std::u16string& n) { seen.push_back(n); });
    EXPECT_TRUE(seen.empty());
}

}  // namespace
}  // namespace velmora
