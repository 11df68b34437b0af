#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ExportTestFiles.h"
#include "export/ExportedFileOfRecord.h"
#include "export/M3uExporter.h"
#include "export/XmlExporter.h"
#include "support/ScratchDirectory.h"
#include "tags/Mp3File.h"
#include "tags/mpeg_test_streams.h"

namespace velmora {
namespace {

using testing::Bytes;
using testing::Frame;
using testing::ScratchDirectory;
using testing::Text;
using testing::TextBody;

// An ID3v1.1 tag: title T1, artist V1, album A1, year 1999, track 5, genre 17.
Bytes Id3v1Bytes() {
    const std::string zeros(28, '\0');
    const std::string tag = "TAGT1" + zeros + "V1" + zeros + "A1" + zeros + "1999" + zeros +
                            std::string("\0\x05\x11", 3);
    return Bytes(tag.begin(), tag.end());
}

// Files on disk, loaded as records: an ID3v2.3 tag with the given frames (none when empty),
// a second of 128 kbit/s MPEG-1 Layer III audio and the ID3v1 tag above.
struct LoadedRecords : ::testing::Test {
    ScratchDirectory dir;
    testing::TestEngine engine;
    std::vector<std::unique_ptr<Mp3File>> records;

    Mp3File& Load(const std::string& folder, const std::string& name, const Bytes& frames) {
        std::filesystem::create_directories(dir.Path(folder));
        Bytes file = frames.empty() ? Bytes{} : testing::Tag(3, frames);
        testing::Append(file, testing::Frames(testing::FrameSpec{}, 40));
        testing::Append(file, Id3v1Bytes());
        dir.WriteFile(folder + "/" + name, std::string(file.begin(), file.end()));
        return *records.emplace_back(std::make_unique<Mp3File>(
            engine.context, Text(dir.Path(folder)), text::FileNameToText(name)));
    }
    std::string ExportTo(Exporter& exporter, const std::string& target) {
        std::vector<const Mp3File*> inOrder;
        for (const auto& record : records) {
            inOrder.push_back(record.get());
        }
        FixedExportTarget chooser(Text(dir.Path(target)));
        EXPECT_EQ(Export(exporter, inOrder, chooser, engine.context), ExportOutcome::Written);
        return ScratchDirectory::ReadFile(dir.Path(target));
    }
};

// A pending rename already shows its new name; a file without an ID3v2 tag gives empty texts.
TEST_F(LoadedRecords, PlaylistReadsTheRecords) {
    Load("music", "old.mp3",
         testing::Cat({Frame("TPE1", TextBody("X")), Frame("TIT2", TextBody("Y"))}));
    ASSERT_TRUE(records[0]->SetFileName(u"new.mp3"));
    Load("music/sub", "b.mp3", {});
    M3uExporter m3u(engine.context.codePage);
    EXPECT_EQ(ExportTo(m3u, "music/l.m3u"),
              "#EXTM3U\n#EXTINF:1,X - Y\nnew.mp3\n#EXTINF:1, - \nsub/b.mp3\n");
}

TEST_F(LoadedRecords, XmlReadsEveryFieldOfTheRecords) {
    Load("music", "a.mp3",
         testing::Cat({Frame("TPE1", TextBody("X")), Frame("TALB", TextBody("Al")),
                       Frame("TIT2", TextBody("One")), Frame("TYER", TextBody("2004")),
                       Frame("TRCK", TextBody("3")), Frame("TCON", TextBody("(17)"))}));
    XmlExportOptions options;
    options.SetLocation(XmlLocation::FullPath);
    options.mp3Duration = options.mp3Vbr = true;
    options.v2Year = options.v2Track = options.v2Genre = true;
    options.v1Artist = options.v1Album = options.v1Title = true;
    options.v1Year = options.v1Track = options.v1Genre = true;
    options.structure.Select(0, XmlGrouping::List);
    testing::FakeSettingsKey key;
    FixedXmlOptions prompt(options);
    XmlExporter exporter(key, prompt);
    const std::string document = ExportTo(exporter, "l.xml");
    // Every attribute, in the order of the table.
    EXPECT_NE(document.find("<File path=\"" + dir.Path("music/a.mp3").string() +
                            "\" bitrate=\"128\" vbr=\"false\" duration=\"1\" artist=\"X\" "
                            "album=\"Al\" title=\"One\" year=\"2004\" track=\"3\" "
                            "genre=\"Rock\" artist1=\"V1\" album1=\"A1\" title1=\"T1\" "
                            "year1=\"1999\" track1=\"5\" genre1=\"Rock\" />"),
              std::string::npos)
        << document;
}

}  // namespace
}  // namespace velmora
