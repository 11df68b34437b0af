#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <set>

#include "support/ScratchDirectory.h"
#include "tags/Id3v2TestSupport.h"
#include "tags/OracleSupport.h"
#include "tags/id3v2/FrameFieldTypes.h"
#include "tags/id3v2/FrameLayouts.h"
#include "tags/id3v2/Id3v2Serializer.h"
#include "tags/id3v2/VersionConversion.h"
#include "tags/ops/PictureOps.h"

// mutagen (python3-mutagen) as an outside oracle: it writes files in every form this reader
// must understand, and it reads what the serializer writes, converted to either version (the
// rules: version_conversion_test). TagLib (libtag1-dev, through taglib_oracle) reads the text
// frames of the converted files.
namespace velmora {
namespace {

using namespace testing;
namespace fs = std::filesystem;
using ::testing::IsSupersetOf;

std::string Checksum(std::span<const std::uint8_t> data) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%zu:%08lx", data.size(),
                  crc32(0, data.data(), static_cast<uInt>(data.size())));
    return buffer;
}

// The text of `from` and every later value of the frame, joined by `separator`.
std::string Values(const Id3v2Frame& frame, const FrameField* from, char16_t separator = 0) {
    std::u16string joined = from->GetText(Cp1252());
    if (auto* later = static_cast<LaterValuesField*>(FindField(frame, FieldKind::LaterValues))) {
        for (const auto& value : later->Values())
            joined += separator + value;
    }
    return Hex(joined);
}

std::string EngineLine(const Id3v2Frame& frame) {
    FrameField* first = FindField(frame, FieldKind::Text);
    FrameField* second = first ? FindField(frame, FieldKind::Text, first) : nullptr;
    auto text = [&](const FrameField* field) {
        return field ? Hex(field->GetText(Cp1252())) : "?";
    };
    switch (FrameKindOf(frame.Id())) {
        case FrameKind::Text:
            return "T " + frame.Id().ToString() + " " + (first ? Values(frame, first) : "?");
        case FrameKind::UserText:
            return "X " + text(first) + " " + (second ? Values(frame, second) : "?");
        case FrameKind::Comment:
            return "C " + Hex(FindField(frame, FieldKind::NarrowString)->GetNarrowText(Cp1252())) +
                   " " + text(first) + " " + (second ? Values(frame, second) : "?");
        case FrameKind::Picture:
            return "P " + std::to_string(PictureType(frame)) + " " +
                   Hex(frame.FieldAt(1)->GetNarrowText(Cp1252())) + " " +
                   Hex(PictureDescription(frame, Cp1252())) + " " + Checksum(PictureData(frame));
        default:
            return "O " + frame.Id().ToString();
    }
}

OracleLines EngineDump(const Id3v2Tag& tag, std::span<const std::uint8_t> audio) {
    OracleLines lines = {"N " + std::to_string(tag.Frames().size()), "A " + Checksum(audio)};
    for (const auto& frame : tag.Frames())
        lines.insert(EngineLine(*frame));
    return lines;
}

// What TagLib shows of a saved tag: its version and year, and each text frame it keeps as it
// is, "ID values joined by '|'" (it reads the ID3v2.3 date and people frames as ID3v2.4 ones,
// and genre codes as numbers).
OracleLines TagLibLines(const Id3v2Tag& tag, std::uint8_t version) {
    OracleLines lines = {"V " + std::to_string(version) + " Y " + TextOf(tag, "TYER")};
    const std::set<std::string> changed = {"TYER", "TDAT", "TIME", "TORY", "IPLS", "TCON"};
    for (const auto& frame : tag.Frames()) {
        const std::string id = frame->Id().ToString();
        if (FrameKindOf(frame->Id()) == FrameKind::Text && !changed.count(id))
            lines.insert(id + " " + Values(*frame, FindField(*frame, FieldKind::Text), u'|'));
    }
    return lines;
}

// (a) mutagen writes samples in 2.3 and 2.4, every encoding (byte order by script:
// text_encoding_test), multiple values, pictures and comments; the engine must read what
// mutagen reads (extended headers and unsynchronisation: the peer corpus, PeerFilesTest).
// (b) the engine changes the title of each and saves it as 2.3 and as 2.4, converting its
// frames; mutagen must read the engine's own dump of the changed tag: the new title, every
// other frame as it was in (a) or as converted, and the same audio bytes. TagLib must read the
// text frames it does not convert itself.
TEST(PeerOracleTest, EachReadsWhatTheOtherWrote) {
    if (!HaveMutagen())
        GTEST_SKIP() << "python3 with mutagen is not installed";
    ScratchDirectory dir;
    ASSERT_EQ(std::system((kMutagenOracle + " write " + dir.Root().string()).c_str()), 0);
    std::vector<fs::path> samples(fs::directory_iterator(dir.Root()), {});
    ASSERT_EQ(samples.size(), 6u);
    const std::u16string title = u"Changed \u5909\u66F4";
    std::map<std::string, OracleLines> expected, taglib;
    for (const auto& path : samples) {
        std::string file = ScratchDirectory::ReadFile(path);
        for (std::uint8_t version : {0, 3, 4}) {  // 0: the sample as mutagen wrote it
            TestEngine engine;
            auto read = ReadBytes(Bytes(file.begin(), file.end()), engine);
            std::string audio = file.substr(read.onDisk.audioOffset);
            fs::path written = path;
            if (version != 0) {
                SetFrameText(*read.tag, FrameId("TIT2"), title, engine.context);
                ConvertFramesForVersion(*read.tag, version, Cp1252());
                Bytes tag = Tag(version, SerializeTag(*read.tag, version, Cp1252()), 64);
                written = dir.WriteFile("v" + std::to_string(version) + path.filename().string(),
                                        std::string(tag.begin(), tag.end()) + audio);
                taglib[written.string()] = TagLibLines(*read.tag, version);
            }
            OracleLines& dump = expected[written.string()] =
                EngineDump(*read.tag, Bytes(audio.begin(), audio.end()));
            EXPECT_EQ(dump.count("T TIT2 " + Hex(title)), version == 0 ? 0u : 1u);
        }
    }
    std::string command = kMutagenOracle + " dump", files;
    for (const auto& [path, dump] : expected)
        files += " " + path;
    EXPECT_EQ(LinesByFile(command + files), expected);
    auto read =
        LinesByFile(std::string("ASAN_OPTIONS=detect_leaks=0 ") + VELMORA_TAGLIB_ORACLE + files);
    for (const auto& [path, lines] : taglib)
        EXPECT_THAT(read[path], IsSupersetOf(lines)) << path;
}

}  // namespace
}  // namespace velmora
