#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "settings/SettingsStore.h"
#include "support/ScratchDirectory.h"

namespace velmora::testing {

// A fresh folder per test, removed afterwards, holding the settings file under test.
class SettingsFixture : public ::testing::Test {
  protected:
    static void WriteText(const std::filesystem::path& file, const std::string& text) {
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << text;
    }
    static std::string ReadText(const std::filesystem::path& file) {
        return ScratchDirectory::ReadFile(file);
    }

    // Opens the store at file_, failing the test when it cannot be opened.
    std::unique_ptr<SettingsStore> OpenStore() {
        SettingsStore::OpenResult result = SettingsStore::Open(file_);
        EXPECT_NE(result.store, nullptr) << result.error;
        EXPECT_TRUE(result.notice.empty());
        return std::move(result.store);
    }
    // Opens a store over a file holding `toml`.
    std::unique_ptr<SettingsStore> OpenWith(const std::string& toml) {
        WriteText(file_, toml);
        return OpenStore();
    }

    ScratchDirectory scratch_;
    const std::filesystem::path folder_ = scratch_.Root();
    const std::filesystem::path file_ = folder_ / "velmora" / "settings.toml";
};

}  // namespace velmora::testing
