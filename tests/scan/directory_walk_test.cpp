#include "scan/DirectoryWalk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "support/ScratchDirectory.h"
#include "text/FileName.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

class DirectoryWalkTest : public ::testing::Test {
  protected:
    void Touch(const fs::path& relative) {
        fs::create_directories((root_ / relative).parent_path());
        scratch_.WriteFile(relative.string(), "x");
    }
    // Each file met, relative to the root; the full path must name a file that exists.
    std::vector<std::string> Walk(bool recurse) {
        std::vector<std::string> seen;
        WalkDirectory(text::FileNameToText(root_.string()), recurse,
                      [&](const std::u16string& dir, const std::u16string& name) {
                          fs::path full = text::TextToFileName(dir + u"/" + name);
                          EXPECT_TRUE(fs::exists(full)) << full;
                          seen.push_back(fs::relative(full, root_).string());
                      });
        return seen;
    }

    testing::ScratchDirectory scratch_;
    const fs::path& root_ = scratch_.Root();
};

// The extension is the last four characters, compared without case.
TEST_F(DirectoryWalkTest, FindsMp3FilesDepthFirstOnceEachAndRecursesOnlyWhenAsked) {
    for (const char* name :
         {"top.MP3", ".mp3", "mp3", "a.mp3.bak", "a_mp3", "caf\xE9.mp3", "sub/one.mp3",
          "sub/two.mp3", "sub/deeper/three.mp3", "..dots/four.mp3"})
        Touch(name);
    // Links back up the tree are not followed forever.
    fs::create_directory_symlink(root_, root_ / "sub" / "loop");
    fs::create_directory_symlink(root_ / "sub", root_ / "again");
    auto top = Walk(false);
    std::sort(top.begin(), top.end());
    EXPECT_EQ(top, (std::vector<std::string>{".mp3", "caf\xE9.mp3", "top.MP3"}));

    auto seen = Walk(true);
    ASSERT_EQ(seen.size(), 7u);
    // Depth first: everything under sub/ comes in one run.
    auto first =
        std::find_if(seen.begin(), seen.end(), [](auto& s) { return s.rfind("sub/", 0) == 0; });
    ASSERT_LE(first + 3, seen.end());
    EXPECT_TRUE(std::all_of(first, first + 3, [](auto& s) { return s.rfind("sub/", 0) == 0; }));
}

}  // namespace
}  // namespace velmora
