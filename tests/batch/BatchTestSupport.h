#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "settings/SettingsStore.h"
#include "support/RecordingMessageSink.h"
#include "support/ScratchDirectory.h"
#include "tags/FileTestHelpers.h"
#include "tags/Id3v2TestSupport.h"
#include "tags/Mp3File.h"

namespace velmora::testing {

// A real settings store, a message recorder and MP3 files in a scratch folder.
class BatchFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        auto opened = SettingsStore::Open(scratch_.Path("settings.toml"));
        ASSERT_NE(opened.store, nullptr) << opened.error;
        store_ = std::move(opened.store);
        context_ = std::make_unique<EngineContext>(EngineContext{*store_, Cp1252(), messages_});
    }

    // A file holding an ID3v2.3 tag with the frames and a few bytes of silence.
    Mp3File* AddFile(std::string_view name, std::initializer_list<Bytes> frames = {}) {
        const Bytes tag = Tag(3, Cat(frames));
        std::string bytes(tag.begin(), tag.end());
        bytes.append(16, '\0');
        scratch_.WriteFile(name, bytes);
        files_.push_back(std::make_unique<Mp3File>(*context_, TextPath(scratch_.Root()),
                                                   std::u16string(name.begin(), name.end())));
        batch_.push_back(files_.back().get());
        return files_.back().get();
    }

    static Bytes Text(std::string_view id, std::string_view latin1) {
        return Frame(id, TextBody(latin1));
    }

    ScratchDirectory scratch_;
    RecordingMessageSink messages_;
    std::unique_ptr<SettingsStore> store_;
    std::unique_ptr<EngineContext> context_;
    std::vector<std::unique_ptr<Mp3File>> files_;
    std::vector<Mp3File*> batch_;
};

inline std::u16string U(std::string_view ascii) {
    return {ascii.begin(), ascii.end()};
}

}  // namespace velmora::testing
