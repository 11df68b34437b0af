#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "ExportTestFiles.h"
#include "export/Export.h"
#include "export/M3uExporter.h"
#include "export/PlsExporter.h"
#include "support/RecordingMessageSink.h"
#include "support/ScratchDirectory.h"
#include "text/CodePage.h"
#include "text/FileName.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::Cp1252;
using testing::ScratchDirectory;

std::u16string Text(const fs::path& path) {
    return text::FileNameToText(path.native());
}

// Files of a recursive load: a tree of folders, names with characters beyond ASCII.
struct MusicTree {
    ScratchDirectory dir;
    std::vector<ExportedFile> files;

    explicit MusicTree(bool namesBeyondCodePage) {
        Add("music", "a.mp3");
        Add("music/rock", "b.mp3");
        Add("music/rock/70s", "c d.mp3");
        Add("music/jazz", "caf\xC3\xA9.mp3");
        fs::create_directories(dir.Path("lists/deep"));
        if (namesBeyondCodePage) {
            Add("music/jazz", "\xE4\xB8\xAD.mp3");
            Add("music/raw", "caf\xE9.mp3");  // not valid UTF-8
        }
    }

    void Add(const std::string& folder, const std::string& name) {
        fs::create_directories(dir.Path(folder));
        dir.WriteFile(folder + "/" + name, "mp3");
        ExportedFile file;
        file.directory = Text(dir.Path(folder));
        file.name = text::FileNameToText(name);
        files.push_back(file);
    }

    std::string Write(Exporter& exporter, const std::string& playlist) {
        testing::RecordingMessageSink messages;
        FixedExportTarget chooser(Text(dir.Path(playlist)));
        EXPECT_EQ(Export(exporter, files, chooser, messages), ExportOutcome::Written);
        return ScratchDirectory::ReadFile(dir.Path(playlist));
    }
};

std::vector<std::string> Lines(const std::string& document) {
    std::vector<std::string> lines;
    std::istringstream in(document);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> M3uEntries(const std::string& document) {
    std::vector<std::string> entries;
    for (const std::string& line : Lines(document)) {
        if (!line.empty() && line[0] != '#') {
            entries.push_back(line);
        }
    }
    return entries;
}

std::vector<std::string> PlsEntries(const std::string& document) {
    std::vector<std::string> entries;
    for (const std::string& line : Lines(document)) {
        if (line.rfind("File", 0) == 0) {
            entries.push_back(line.substr(line.find('=') + 1));
        }
    }
    return entries;
}

// What a player opens for an entry: the playlist's folder joined with the entry, the
// entry's text read in the playlist's encoding.
void ExpectEveryEntryResolves(const MusicTree& tree, const std::string& playlist,
                              const std::vector<std::string>& entries, bool utf8) {
    ASSERT_EQ(entries.size(), tree.files.size());
    const fs::path folder = tree.dir.Path(playlist).parent_path();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string name =
            utf8 ? entries[i] : text::TextToFileName(Cp1252().Decode(entries[i]));
        const fs::path opened = folder / name;
        EXPECT_TRUE(fs::is_regular_file(opened)) << opened;
        EXPECT_TRUE(fs::equivalent(opened, fs::path(text::TextToFileName(tree.files[i].directory)) /
                                               text::TextToFileName(tree.files[i].name)));
    }
}

class PlaylistResolvesTest : public ::testing::TestWithParam<const char*> {};

TEST_P(PlaylistResolvesTest, M3u8EntriesLeadToEveryFile) {
    MusicTree tree(true);
    M3uExporter exporter(Cp1252());
    const std::string playlist = std::string(GetParam()) + "8";
    ExpectEveryEntryResolves(tree, playlist, M3uEntries(tree.Write(exporter, playlist)), true);
}

TEST_P(PlaylistResolvesTest, M3uEntriesLeadToEveryFileInTheCodePage) {
    MusicTree tree(false);
    M3uExporter exporter(Cp1252());
    ExpectEveryEntryResolves(tree, GetParam(), M3uEntries(tree.Write(exporter, GetParam())), false);
}

TEST_P(PlaylistResolvesTest, PlsEntriesLeadToEveryFile) {
    MusicTree tree(false);
    PlsExporter exporter(Cp1252());
    const std::string playlist =
        std::string(GetParam()).replace(std::string(GetParam()).size() - 3, 3, "pls");
    ExpectEveryEntryResolves(tree, playlist, PlsEntries(tree.Write(exporter, playlist)), false);
}

INSTANTIATE_TEST_SUITE_P(Places, PlaylistResolvesTest,
                         ::testing::Values("all.m3u", "music/all.m3u", "music/rock/70s/all.m3u",
                                           "lists/deep/all.m3u"));

}  // namespace
}  // namespace velmora
