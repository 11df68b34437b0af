#include <gtest/gtest.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

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
using Dump = std::vector<std::string>;

const std::string kScript = std::string(VELMORA_SOURCE_DIR) + "/tests/tags/mutagen_oracle.py";

std::string RunAndCapture(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return output;
    char buffer[4096];
    while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe))
        output.append(buffer, n);
    if (pclose(pipe) != 0)
        output.clear();
    return output;
}

// The first python that has mutagen, or empty.
std::string FindPython() {
    for (std::string python : {"/usr/bin/python3", "python3"}) {
        if (std::system((python + " -c 'import mutagen' 2>/dev/null").c_str()) == 0)
            return python;
    }
    return {};
}

std::string Hex(std::string_view bytes) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out.push_back(digits[c >> 4]);
        out.push_back(digits[c & 15]);
    }
    return out.empty() ? "-" : out;
}

std::string HexText(std::u16string_view text) {
    return Hex(text::ToUtf8(text));
}

std::string Checksum(std::span<const std::uint8_t> data) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%zu:%08lx", data.size(),
                  crc32(0, data.data(), static_cast<uInt>(data.size())));
    return buffer;
}

// All strings of the frame from the field `from` on: that text and the later values.
std::string Values(const Id3v2Frame& frame, const FrameField* from) {
    std::u16string joined = from->GetText(Cp1252());
    for (std::size_t i = 0; i < frame.FieldCount(); ++i) {
        if (frame.FieldAt(i)->Kind() == FieldKind::LaterValues) {
            for (const auto& value :
                 static_cast<const LaterValuesField*>(frame.FieldAt(i))->Values())
                joined += u'\0' + value;
        }
    }
    return HexText(joined);
}

// The engine's reading in the oracle's line format.
Dump EngineDump(const Id3v2Tag& tag, std::span<const std::uint8_t> audio) {
    Dump lines;
    for (const auto& frame : tag.Frames()) {
        std::string id = frame->Id().ToString();
        FrameField* first = FindField(*frame, FieldKind::Text);
        FrameField* second = first ? FindField(*frame, FieldKind::Text, first) : nullptr;
        switch (FrameKindOf(frame->Id())) {
            case FrameKind::Text:
                lines.push_back("T " + id + " " + (first ? Values(*frame, first) : "?"));
                break;
            case FrameKind::UserText:
                lines.push_back("X " + (second ? HexText(first->GetText(Cp1252())) + " " +
                                                     Values(*frame, second)
                                               : "?"));
                break;
            case FrameKind::Comment:
                lines.push_back("C " + (second ? Hex(FindField(*frame, FieldKind::NarrowString)
                                                         ->GetNarrowText(Cp1252())) +
                                                     " " + HexText(first->GetText(Cp1252())) + " " +
                                                     Values(*frame, second)
                                               : "?"));
                break;
            case FrameKind::Picture:
                lines.push_back("P " + std::to_string(PictureType(*frame)) + " " +
                                Hex(frame->FieldAt(1)->GetNarrowText(Cp1252())) + " " +
                                HexText(PictureDescription(*frame, Cp1252())) + " " +
                                Checksum(PictureData(*frame)));
                break;
            default:
                lines.push_back("O " + id);
        }
    }
    lines.push_back("N " + std::to_string(tag.Frames().size()));
    lines.push_back("A " + Checksum(audio));
    return lines;
}

Dump Sorted(Dump lines) {
    std::sort(lines.begin(), lines.end());
    return lines;
}

Bytes ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

class MutagenOracleTest : public ::testing::Test {
  protected:
    void SetUp() override {
        python_ = FindPython();
        if (python_.empty())
            GTEST_SKIP() << "python3 with mutagen is not installed";
        dir_ = fs::temp_directory_path() / ("velmora-oracle-" + std::to_string(getpid()));
        fs::create_directories(dir_);
        ASSERT_EQ(std::system((python_ + " " + kScript + " write " + dir_.string()).c_str()), 0);
    }
    void TearDown() override {
        if (!dir_.empty())
            fs::remove_all(dir_);
    }

    std::map<std::string, Dump> MutagenDump(const std::vector<fs::path>& files) {
        std::string command = python_ + " " + kScript + " dump";
        for (const auto& file : files)
            command += " " + file.string();
        std::map<std::string, Dump> dumps;
        std::string current;
        std::string output = RunAndCapture(command);
        std::size_t start = 0;
        while (start < output.size()) {
            std::size_t end = output.find('\n', start);
            std::string line = output.substr(start, end - start);
            start = end == std::string::npos ? output.size() : end + 1;
            if (line.rfind("F ", 0) == 0)
                current = line.substr(2);
            else
                dumps[current].push_back(line);
        }
        return dumps;
    }

    std::vector<fs::path> Samples() {
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(dir_))
            files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        return files;
    }

    std::string python_;
    fs::path dir_;
};

TEST_F(MutagenOracleTest, EngineReadsWhatMutagenWrote) {
    auto samples = Samples();
    ASSERT_EQ(samples.size(), 10u);
    auto expected = MutagenDump(samples);
    ASSERT_EQ(expected.size(), samples.size());
    EXPECT_GT(expected["v24_enc3.mp3"].size(), 12u);
    for (const auto& path : samples) {
        TestEngine engine;
        Bytes file = ReadFile(path);
        auto read = ReadBytes(file, engine);
        auto audio = std::span<const std::uint8_t>(file).subspan(read.onDisk.audioOffset);
        EXPECT_EQ(Sorted(EngineDump(*read.tag, audio)), Sorted(expected[path.filename().string()]))
            << path.filename();
    }
}

TEST_F(MutagenOracleTest, MutagenReadsWhatTheEngineWrote) {
    const std::u16string changed = u"Changed \u5909\u66F4";
    std::vector<fs::path> written;
    std::map<std::string, Dump> expected;
    auto originals = MutagenDump(Samples());
    ASSERT_EQ(originals.size(), 10u);
    for (const auto& path : Samples()) {
        for (std::uint8_t version : {3, 4}) {
            TestEngine engine;
            Bytes file = ReadFile(path);
            auto read = ReadBytes(file, engine);
            SetFrameText(*read.tag, FrameId("TIT2"), changed, engine.context);
            Bytes out =
                Cat({Tag(version, SerializeTag(*read.tag, version, Cp1252()), 64),
                     Bytes(file.begin() + static_cast<std::ptrdiff_t>(read.onDisk.audioOffset),
                           file.end())});
            fs::path target =
                dir_ / ("rt" + std::to_string(version) + "_" + path.filename().string());
            WriteFile(target, out);
            written.push_back(target);
            Dump lines = originals[path.filename().string()];
            for (auto& line : lines) {
                if (line.rfind("T TIT2 ", 0) == 0)
                    line = "T TIT2 " + HexText(changed);
            }
            expected[target.filename().string()] = lines;
        }
    }
    auto actual = MutagenDump(written);
    ASSERT_EQ(actual.size(), written.size());
    for (const auto& path : written)
        EXPECT_EQ(Sorted(actual[path.filename().string()]),
                  Sorted(expected[path.filename().string()]))
            << path.filename();
}

}  // namespace
}  // namespace velmora
