#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "scan/LoaderThread.h"
#include "support/ScratchDirectory.h"
#include "tags/Id3v2TestSupport.h"
#include "text/FileName.h"

namespace velmora::testing {

// MPEG-1 Layer III frames of 128 kbit/s at 44.1 kHz (ISO/IEC 11172-3: header FF FB 90 00,
// 417 bytes each, silent) followed by an ID3v1 tag holding the title.
inline std::string TestMp3(std::string_view title) {
    std::string out;
    for (int i = 0; i < 8; ++i)
        out += std::string("\xFF\xFB\x90\x00", 4) + std::string(413, '\0');
    std::string v1 = "TAG" + std::string(title.substr(0, 30));
    v1.resize(127, '\0');
    return out + v1 + '\xFF';  // no genre
}

// A scratch folder of MP3 files and an engine to load them with.
class ScanFixture : public ::testing::Test {
  protected:
    void Write(const std::string& relative, const std::string& bytes) {
        std::filesystem::create_directories((scratch_.Root() / relative).parent_path());
        scratch_.WriteFile(relative, bytes);
    }
    std::u16string Root() const { return text::FileNameToText(scratch_.Root().string()); }
    void Load(LoaderThread& loader) {
        loader.SetDirectory(Root());
        ASSERT_TRUE(loader.Start());
        loader.Join();
    }

    ScratchDirectory scratch_;
    TestEngine engine_;
    EngineContext& context_ = engine_.context;
};

}  // namespace velmora::testing
