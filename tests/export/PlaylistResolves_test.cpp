#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "ExportTestFiles.h"
#include "export/Export.h"
#include "export/M3uExporter.h"
#include "export/PlsExporter.h"
#include "support/RecordingMessageSink.h"
#include "support/ScratchDirectory.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::Cp1252;
using testing::Text;

// The entry lines: "FileN=" lines of a PLS, the lines that are no comment in an M3U.
std::vector<std::string> Entries(const std::string& document, bool pls) {
    std::vector<std::string> entries;
    std::istringstream in(document);
    for (std::string line; std::getline(in, line);) {
        if (pls ? line.starts_with("File") : !line.starts_with("#")) {
            entries.push_back(pls ? line.substr(line.find('=') + 1) : line);
        }
    }
    return entries;
}

// Playlist folder (relative to the music tree's root) and extension.
class PlaylistResolves : public ::testing::TestWithParam<std::tuple<std::string, std::string>> {};

// Files of a recursive load, a tree with names beyond ASCII (beyond the code page and not
// valid UTF-8 in an M3U8). A player opens the playlist's folder joined with each entry, read
// in the playlist's encoding.
TEST_P(PlaylistResolves, EveryEntryLeadsToItsFile) {
    const auto& [place, extension] = GetParam();
    const bool pls = extension == "pls";
    const bool utf8 = extension == "m3u8";
    testing::ScratchDirectory dir;
    fs::create_directories(dir.Path("lists/deep"));
    std::vector<ExportedFile> files;
    std::vector<fs::path> paths;
    for (const auto& [folder, name] : std::vector<std::pair<std::string, std::string>>{
             {"music", "a.mp3"},
             {"music/rock", "b.mp3"},
             {"music/rock/70s", "c d.mp3"},
             {"music/jazz", "caf\xC3\xA9.mp3"},
             {"music/jazz", utf8 ? "\xE4\xB8\xAD.mp3" : "e.mp3"},
             {"music/raw", utf8 ? "caf\xE9.mp3" : "f.mp3"}}) {
        fs::create_directories(dir.Path(folder));
        paths.push_back(dir.WriteFile(folder + "/" + name, "mp3"));
        files.push_back(testing::MakeFile(text::FileNameToText(name)));
        files.back().directory = Text(dir.Path(folder));
    }
    const fs::path playlist = dir.Path(place) / ("all." + extension);
    M3uExporter m3u(Cp1252());
    PlsExporter plsExporter(Cp1252());
    Exporter& exporter = pls ? static_cast<Exporter&>(plsExporter) : m3u;
    FixedExportTarget chooser(Text(playlist));
    testing::RecordingMessageSink messages;
    ASSERT_EQ(Export(exporter, files, chooser, messages), ExportOutcome::Written);
    const std::vector<std::string> entries =
        Entries(testing::ScratchDirectory::ReadFile(playlist), pls);
    ASSERT_EQ(entries.size(), files.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const fs::path opened =
            playlist.parent_path() /
            (utf8 ? entries[i] : text::TextToFileName(Cp1252().Decode(entries[i])));
        ASSERT_TRUE(fs::is_regular_file(opened)) << opened;
        EXPECT_TRUE(fs::equivalent(opened, paths[i])) << opened;
    }
}

INSTANTIATE_TEST_SUITE_P(Places, PlaylistResolves,
                         ::testing::Combine(::testing::Values("", "music", "music/rock/70s",
                                                              "lists/deep"),
                                            ::testing::Values("m3u", "m3u8", "pls")));

}  // namespace
}  // namespace velmora
