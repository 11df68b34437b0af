#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>

#include "settings/SettingsStore.h"

namespace velmora::testing {

// A fresh folder per test, removed afterwards, holding the settings file under test.
class SettingsFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "velmora-settings-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        file_ = folder_ / "velmora" / "settings.toml";
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    static void WriteText(const std::filesystem::path& file, const std::string& text) {
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << text;
    }
    static std::string ReadText(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
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

    std::filesystem::path folder_;
    std::filesystem::path file_;
};

}  // namespace velmora::testing
