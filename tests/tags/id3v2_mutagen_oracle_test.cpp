#include <gtest/gtest.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

#include "Id3v2TestSupport.h"
#include "tags/FrameFieldTypes.h"
#include "tags/FrameLayouts.h"
#include "tags/Id3v2Serializer.h"
#include "tags/PictureOps.h"

// mutagen (python3-mutagen) as an outside oracle: it writes files in every form this reader
// must understand, and it reads what the serializer writes.
namespace velmora {
namespace {

using namespace testing;
namespace fs = std::filesystem;
using Dump = std::multiset<std::string>;  // one line per frame, see mutagen_oracle.py

const std::string kScript = std::string(VELMORA_SOURCE_DIR) + "/tests/tags/mutagen_oracle.py";

std::string Hex(std::string_view bytes) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes)
        out += {digits[c >> 4], digits[c & 15]};
    return out.empty() ? "-" : out;
}

std::string Hex(std::u16string_view text) {
    return Hex(text::ToUtf8(text));
}

std::string Checksum(std::span<const std::uint8_t> data) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%zu:%08lx", data.size(),
                  crc32(0, data.data(), static_cast<uInt>(data.size())));
    return buffer;
}

// The text of `from` and every later value of the frame, joined by zeros.
std::string Values(const Id3v2Frame& frame, const FrameField* from) {
    std::u16string joined = from->GetText(Cp1252());
    if (auto* later = static_cast<LaterValuesField*>(FindField(frame, FieldKind::LaterValues))) {
        for (const auto& value : later->Values())
            joined += u'\0' + value;
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

Dump EngineDump(const Id3v2Tag& tag, std::span<const std::uint8_t> audio) {
    Dump lines = {"N " + std::to_string(tag.Frames().size()), "A " + Checksum(audio)};
    for (const auto& frame : tag.Frames())
        lines.insert(EngineLine(*frame));
    return lines;
}

struct EngineRead {
    Bytes file;
    TestEngine engine;
    ReadResult read;
    explicit EngineRead(const fs::path& path)
        : file(std::istreambuf_iterator<char>(std::ifstream(path, std::ios::binary).rdbuf()), {}),
          read(ReadBytes(file, engine)) {}
    std::span<const std::uint8_t> Audio() const {
        return std::span<const std::uint8_t>(file).subspan(read.onDisk.audioOffset);
    }
};

class MutagenOracleTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::system((python_ + " -c 'import mutagen' 2>/dev/null").c_str()) != 0)
            GTEST_SKIP() << "python3 with mutagen is not installed";
        dir_ = fs::temp_directory_path() / ("velmora-oracle-" + std::to_string(getpid()));
        fs::create_directories(dir_);
        ASSERT_EQ(std::system((python_ + " " + kScript + " write " + dir_.string()).c_str()), 0);
        for (const auto& entry : fs::directory_iterator(dir_))
            samples_.push_back(entry.path());
        ASSERT_EQ(samples_.size(), 9u);
    }
    void TearDown() override {
        if (!dir_.empty())
            fs::remove_all(dir_);
    }

    // Checks that mutagen reads from each file what the engine's dump says.
    void ExpectMutagenReads(const std::map<std::string, Dump>& expected) {
        std::string command = python_ + " " + kScript + " dump";
        for (const auto& [path, dump] : expected)
            command += " " + path;
        std::string output;
        FILE* pipe = popen(command.c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        char buffer[4096];
        while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe))
            output.append(buffer, n);
        ASSERT_EQ(pclose(pipe), 0);
        std::map<std::string, Dump> actual;
        std::istringstream lines(output);
        std::string current;
        for (std::string line; std::getline(lines, line);) {
            if (line.starts_with("F "))
                current = line.substr(2);
            else
                actual[current].insert(line);
        }
        EXPECT_EQ(actual, expected);
    }

    const std::string python_ = "/usr/bin/python3";
    fs::path dir_;
    std::vector<fs::path> samples_;
};

TEST_F(MutagenOracleTest, EngineReadsWhatMutagenWrote) {
    std::map<std::string, Dump> expected;
    for (const auto& path : samples_) {
        EngineRead engine(path);
        expected[path.string()] = EngineDump(*engine.read.tag, engine.Audio());
    }
    ExpectMutagenReads(expected);
}

// The first test shows the engine's dump of a sample is mutagen's; so when mutagen reads the
// engine's dump of the changed tag from the written file, the change is there, every other
// frame is unchanged and so is the audio.
TEST_F(MutagenOracleTest, MutagenReadsWhatTheEngineWrote) {
    const std::u16string title = u"Changed \u5909\u66F4";
    std::map<std::string, Dump> expected;
    for (const auto& path : samples_) {
        for (std::uint8_t version : {3, 4}) {
            EngineRead engine(path);
            Id3v2Tag& tag = *engine.read.tag;
            SetFrameText(tag, FrameId("TIT2"), title, engine.engine.context);
            auto audio = engine.Audio();
            Bytes out = Cat({Tag(version, SerializeTag(tag, version, Cp1252()), 64),
                             Bytes(audio.begin(), audio.end())});
            fs::path target = dir_ / ("v" + std::to_string(version) + path.filename().string());
            std::ofstream(target, std::ios::binary)
                .write(reinterpret_cast<const char*>(out.data()),
                       static_cast<std::streamsize>(out.size()));
            expected[target.string()] = EngineDump(tag, audio);
            EXPECT_EQ(expected[target.string()].count("T TIT2 " + Hex(title)), 1u);
        }
    }
    ExpectMutagenReads(expected);
}

}  // namespace
}  // namespace velmora
