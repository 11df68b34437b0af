#include <gtest/gtest.h>

#include <algorithm>

#include "tags/OracleSupport.h"
#include "tags/RecordFolder.h"
#include "tags/file/FileException.h"
#include "tags/id3v2/StoredBytesField.h"
#include "tags/mpeg/mpeg_test_streams.h"
#include "tags/ops/PictureOps.h"
#include "tags/record/RecordState.h"

// Picture data and large binary bodies stay in the file at load; a save copies them from the
// file. mutagen (python3-mutagen) reads every such body before and after the save.
namespace velmora::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::literals;

OracleLines PayloadsOf(const fs::path& file) {
    const std::string path = "'" + file.string() + "'";
    return LinesByFile(kMutagenOracle + " payloads " + path).at(file.string());
}

// Bytes of every value, with runs of FF that unsynchronisation must stuff.
Bytes Picture(std::size_t size, unsigned seed) {
    Bytes data(size);
    for (std::size_t i = 0; i < size; ++i)
        data[i] = static_cast<std::uint8_t>(i % 97 == 0 ? 0xFF : (i * 31 + seed * 7 + i / 253));
    return data;
}

// ID3v2.4 unsynchronisation of one frame body (section 6.1).
Bytes Unsynchronised(const Bytes& body) {
    Bytes out;
    for (std::size_t i = 0; i < body.size(); ++i) {
        out.push_back(body[i]);
        if (body[i] == 0xFF && (i + 1 == body.size() || body[i + 1] == 0 || body[i + 1] >= 0xE0))
            out.push_back(0);
    }
    return out;
}

// Files holding bodies a load leaves in the file, in each way they are stored, before audio.
std::vector<std::pair<std::string, Bytes>> GeneratedFiles() {
    const Bytes cover = Picture(90 * 1024, 1), title = TextBody("Old");
    const Bytes front = Cat({{0}, B("image/jpeg"), {0, 3}, B("front"), {0}, cover});
    const Bytes back = Cat({{0}, B("image/jpeg"), {0, 4}, B("back"), {0}, Picture(2000, 2)});
    const Bytes object = Cat({B("\0application/octet-stream\0a.bin\0obj\0"sv), Picture(10240, 3)});
    const Bytes priv = Cat({B("owner"), {0}, Picture(6000, 4)});
    const Bytes common =
        Cat({Frame("TIT2", title), Frame("APIC", front), Frame("APIC", back), Frame("GEOB", object),
             Frame("PRIV", priv), Frame("XYZW", Picture(5000, 5))});
    std::vector<std::pair<std::string, Bytes>> files = {
        {"plain23.mp3", Tag(3, common, 256)},
        {"plain24.mp3", Tag(4, Cat({Frame("TIT2", title, 4), Frame("APIC", front, 4),
                                    Frame("GEOB", object, 4), Frame("PRIV", priv, 4)}))},
        {"unsynchronised24.mp3",
         Tag(4, Cat({Frame("TIT2", title, 4), Frame("APIC", Unsynchronised(front), 4, 0x02)}))},
        {"compressed23.mp3",
         Tag(3, Cat({Frame("TIT2", title), Frame("APIC", Compressed(front, 3), 3, 0x80)}))},
        {"pic22.mp3", Tag(2, Cat({Frame22("TT2", title),
                                  Frame22("PIC", Cat({{0}, B("JPG"), {3}, B("d"), {0}, cover}))}))},
        // Unsynchronised as a whole: the frames are read from a decoded copy, so stay in memory.
        {"tagunsync23.mp3", Tag(3, Unsynchronised(common), 0, 0x80)},
    };
    for (auto& file : files)
        Append(file.second, Frames(FrameShape{}, 20));
    return files;
}

class StoredBodyTest : public RecordFolder {
  protected:
    void SetUp() override {
        if (!HaveMutagen())
            GTEST_SKIP() << "python3 with mutagen is not installed";
    }
};

// A title saved into files of every storage: mutagen reads every binary body as before, in
// both versions written.
TEST_F(StoredBodyTest, ASaveKeepsEveryBodyLeftInTheFileByteForByte) {
    const std::vector<std::pair<std::string, Bytes>> files = GeneratedFiles();
    for (const bool use24 : {false, true}) {
        engine_.Use24(use24);
        for (const auto& [name, bytes] : files) {
            SCOPED_TRACE(name + (use24 ? " as 2.4" : " as 2.3"));
            const fs::path path = Write(name, bytes);
            const OracleLines before = PayloadsOf(path);
            auto record = Load(name);
            // Unsynchronised as a whole, the frames come from a decoded copy in memory.
            EXPECT_EQ(std::ranges::none_of(record->V2().Frames(),
                                           [](const auto& frame) { return StoredTail(*frame); }),
                      name.starts_with("tagunsync"));
            SetTitle(*record, u"New \u00FC");
            ASSERT_TRUE(record->Save(engine_.context))
                << text::ToUtf8(engine_.messages.Texts().back());
            EXPECT_EQ(PayloadsOf(path), before);
        }
    }
}

// A replaced picture is held in memory until saved, the other bodies still come from the file;
// a pending rename is carried out after the tags are saved, and the next save reads the bodies
// from the file under its new name. The edit journal keeps copies of frames: the picture put
// back by an undo is had from memory, since the saved file no longer holds it.
TEST_F(StoredBodyTest, ReplaceRenameAndUndoKeepEveryBody) {
    const fs::path path = Write("before.mp3", GeneratedFiles()[0].second);
    const OracleLines before = PayloadsOf(path);
    auto record = Load("before.mp3");
    const RecordState loaded = RecordState::Capture(*record);
    SetPicture(record->V2(), "image/png", u"new", 3, Picture(3000, 9), engine_.context);
    EXPECT_EQ(StoredTail(*FindPicture(record->V2(), 3)), nullptr);
    ASSERT_TRUE(record->SetFileName(u"after.mp3"));
    ASSERT_TRUE(record->Save(engine_.context));
    EXPECT_FALSE(fs::exists(path));
    OracleLines expected = before;
    std::erase_if(expected,
                  [](const std::string& line) { return line.starts_with("'APIC:front'"); });
    expected.insert("'APIC:new' 3000:4bff5386");  // length and CRC-32 of the new one
    EXPECT_EQ(PayloadsOf(dir_.Path("after.mp3")), expected);
    ASSERT_TRUE(record->SetFileName(u"third.mp3"));
    ASSERT_TRUE(record->Save(engine_.context));  // a rename alone
    SetTitle(*record, u"Then saved");
    ASSERT_TRUE(record->Save(engine_.context));
    EXPECT_EQ(PayloadsOf(dir_.Path("third.mp3")), expected);
    loaded.RestoreTo(*record);  // with the name it had
    MarkAll(record->V2(), true);
    ASSERT_TRUE(record->Save(engine_.context));
    EXPECT_EQ(PayloadsOf(path), before);
}

// Bodies are not read from a file changed since the load (a save refuses it too), nor from one
// that has gone: a clear failure, and nothing written anywhere (no empty picture file, no new
// MP3 file under the old name).
TEST_F(StoredBodyTest, AFileChangedOrGoneIsNotRead) {
    Bytes file = GeneratedFiles()[0].second;
    const fs::path path = Write("song.mp3", file);
    auto record = Load("song.mp3");
    const Id3v2Frame& front = *FindPicture(record->V2(), 3);
    file.push_back(0);  // someone else's edit
    Write("song.mp3", file);
    EXPECT_FALSE(record->FieldBytesOrReport(*PictureDataField(front), engine_.messages));
    EXPECT_EQ(LastMessage(), PathOf("song.mp3") +
                                 u" changed on disk since it was loaded; reload it before saving");
    fs::remove(path);
    EXPECT_FALSE(record->FieldBytesOrReport(*PictureDataField(front), engine_.messages));
    EXPECT_EQ(LastMessage(),
              u"Couldn't open file:\n" + PathOf("song.mp3") + u": No such file or directory");
    EXPECT_THROW(PictureData(front, record.get()), CFileExceptionEx);
    // Pictures compare lengths first: different lengths need no bytes.
    EXPECT_FALSE(SamePictureData(front, *record, *FindPicture(record->V2(), 4), *record));
    EXPECT_THROW(SamePictureData(front, *record, front, *record), CFileExceptionEx);
    SetTitle(*record, u"Lost");
    EXPECT_FALSE(record->Save(engine_.context));
    EXPECT_TRUE(record->NeedsSave());
    EXPECT_EQ(dir_.Names().size(), 0u);
}

}  // namespace
}  // namespace velmora::testing
