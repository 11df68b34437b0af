#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <memory>
#include <string>

#include "FileTestHelpers.h"
#include "Id3v2TestSupport.h"
#include "support/ScratchDirectory.h"
#include "tags/ops/FrameTextOps.h"
#include "tags/record/Mp3File.h"

namespace velmora::testing {

// A folder of files loaded as records by one engine.
class RecordFolder : public ::testing::Test {
  protected:
    std::u16string Dir() const { return TextPath(dir_.Root()); }
    std::u16string PathOf(const std::string& name) const { return TextPath(dir_.Path(name)); }
    std::filesystem::path Write(const std::string& name, const Bytes& bytes) const {
        return dir_.WriteFile(name, std::string(bytes.begin(), bytes.end()));
    }
    // Files in a music folder were written long ago, so any later write changes their time.
    void WriteOld(const std::string& name, const Bytes& bytes) const {
        Write(name, bytes);
        const struct timespec old[2] = {{1'600'000'000, 0}, {1'600'000'000, 0}};
        ::utimensat(AT_FDCWD, dir_.Path(name).c_str(), old, 0);
    }
    std::string Read(const std::string& name) const {
        return ScratchDirectory::ReadFile(dir_.Path(name));
    }
    std::unique_ptr<Mp3File> Load(const std::string& name) {
        return std::make_unique<Mp3File>(engine_.context, Dir(), text::FileNameToText(name));
    }
    void SetTitle(Mp3File& record, std::u16string_view title) {
        SetFrameText(record.V2(), FrameId("TIT2"), title, engine_.context);
    }
    std::u16string LastMessage() const {
        const auto texts = engine_.messages.Texts();
        return texts.empty() ? u"" : texts.back();
    }

    ScratchDirectory dir_;
    TestEngine engine_;
};

}  // namespace velmora::testing
