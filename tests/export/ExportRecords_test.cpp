#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "XmlReadBack.h"
#include "export/ExportedFileOfRecord.h"
#include "export/M3uExporter.h"
#include "export/PlsExporter.h"
#include "export/XmlExporter.h"
#include "support/ScratchDirectory.h"
#include "tags/Id3v2TestSupport.h"
#include "tags/Mp3File.h"
#include "tags/mpeg_test_streams.h"
#include "text/FileName.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::Bytes;
using testing::ScratchDirectory;

std::u16string Text(const fs::path& path) {
    return text::FileNameToText(path.native());
}

// An ID3v1.1 tag: title, artist, album, year, comment, track 5, genre 17.
Bytes Id3v1Bytes(std::string_view artist) {
    std::string tag = "TAG" + std::string(30, '\0') + std::string(artist) +
                      std::string(30 - artist.size(), '\0') + std::string(30, '\0') + "1999" +
                      std::string(29, '\0');
    tag += '\x05';
    tag += '\x11';
    return Bytes(tag.begin(), tag.end());
}

// Files on disk, loaded as records: an ID3v2.3 tag with the given frames (none when empty),
// a second of 128 kbit/s MPEG-1 Layer III audio and an ID3v1 tag.
struct LoadedRecords : ::testing::Test {
    ScratchDirectory dir;
    testing::TestEngine engine;
    std::vector<std::unique_ptr<Mp3File>> records;

    void Load(const std::string& folder, const std::string& name, const Bytes& frames) {
        fs::create_directories(dir.Path(folder));
        Bytes file = frames.empty() ? Bytes{} : testing::Tag(3, frames);
        testing::Append(file, testing::Frames(testing::FrameSpec{}, 40));
        testing::Append(file, Id3v1Bytes("V1"));
        dir.WriteFile(folder + "/" + name, std::string(file.begin(), file.end()));
        records.push_back(std::make_unique<Mp3File>(engine.context, Text(dir.Path(folder)),
                                                    text::FileNameToText(name)));
    }
    std::vector<const Mp3File*> InOrder() const {
        std::vector<const Mp3File*> list;
        for (const auto& record : records) {
            list.push_back(record.get());
        }
        return list;
    }
    std::string ExportTo(Exporter& exporter, const std::string& target) {
        FixedExportTarget chooser(Text(dir.Path(target)));
        EXPECT_EQ(Export(exporter, InOrder(), chooser, engine.context), ExportOutcome::Written);
        return ScratchDirectory::ReadFile(dir.Path(target));
    }
};

Bytes ArtistTitle(std::string_view artist, std::string_view title) {
    return testing::Cat({testing::Frame("TPE1", testing::TextBody(artist)),
                         testing::Frame("TIT2", testing::TextBody(title))});
}

TEST_F(LoadedRecords, PlaylistsReadArtistTitleAndDurationFromTheRecords) {
    Load("music", "a.mp3", ArtistTitle("X", "Y"));
    Load("music/sub", "b.mp3", {});
    ASSERT_EQ(records[0]->Duration(), 1u);
    const std::string seconds = "1";
    M3uExporter m3u(engine.context.codePage);
    EXPECT_EQ(
        ExportTo(m3u, "music/l.m3u"),
        "#EXTM3U\n#EXTINF:" + seconds + ",X - Y\na.mp3\n#EXTINF:" + seconds + ", - \nsub/b.mp3\n");
    PlsExporter pls(engine.context.codePage);
    EXPECT_EQ(ExportTo(pls, "l.pls"),
              "[playlist]\nFile1=music/a.mp3\nTitle1=Y\nLength1=" + seconds +
                  "\nFile2=music/sub/b.mp3\nTitle2=\nLength2=" + seconds +
                  "\nNumberOfEntries=2\nVersion=2");
}

TEST_F(LoadedRecords, PendingRenameShowsTheNewName) {
    Load("music", "old.mp3", ArtistTitle("X", "Y"));
    ASSERT_TRUE(records[0]->SetFileName(u"new.mp3"));
    M3uExporter m3u(engine.context.codePage);
    EXPECT_NE(ExportTo(m3u, "music/l.m3u").find("\nnew.mp3\n"), std::string::npos);
}

TEST_F(LoadedRecords, XmlReadsTheRecords) {
    Load("music", "a.mp3", ArtistTitle("X", "One"));
    testing::FakeSettingsKey key;
    key.WriteBool("V1Artist", true);
    key.WriteBool("V1Year", true);
    key.WriteBool("V1Track", true);
    key.WriteBool("V1Genre", true);
    StoredXmlOptions prompt;
    XmlExporter exporter(key, prompt);
    const std::string document = ExportTo(exporter, "l.xml");
    testing::XmlReadBack reader;
    reader.Write(document);
    ASSERT_TRUE(reader.WellFormed());
    EXPECT_EQ(reader.XPathString("string(//File/@filename)"), "a.mp3");
    EXPECT_EQ(reader.XPathString("string(//File/@bitrate)"), "128");
    EXPECT_EQ(reader.XPathString("string(//File/@artist)"), "X");
    EXPECT_EQ(reader.XPathString("string(//File/@title)"), "One");
    EXPECT_EQ(reader.XPathString("string(//File/@artist1)"), "V1");
    EXPECT_EQ(reader.XPathString("string(//File/@year1)"), "1999");
    EXPECT_EQ(reader.XPathString("string(//File/@track1)"), "5");
    EXPECT_EQ(reader.XPathString("string(//File/@genre1)"), "Rock");
}

}  // namespace
}  // namespace velmora
