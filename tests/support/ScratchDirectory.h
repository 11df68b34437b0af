#pragma once

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::testing {

// A fresh directory (under the system's temporary folder unless `base` says where), removed
// with everything in it when the object goes away.
class ScratchDirectory {
  public:
    explicit ScratchDirectory(const std::filesystem::path& base = {},
                              std::string_view prefix = "velmora-") {
        const auto parent = base.empty() ? std::filesystem::temp_directory_path() : base;
        std::string pattern = (parent / (std::string(prefix) + "XXXXXX")).string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("mkdtemp failed for " + pattern);
        root_ = pattern;
    }
    ~ScratchDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::filesystem::path& Root() const { return root_; }
    std::filesystem::path Path(std::string_view name) const { return root_ / name; }

    std::filesystem::path WriteFile(std::string_view name, std::string_view bytes) const {
        const std::filesystem::path path = Path(name);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush())
            throw std::runtime_error("cannot write " + path.string());
        return path;
    }

    static std::string ReadFile(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // The names in the root, sorted.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(root_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

  private:
    std::filesystem::path root_;
};

}  // namespace velmora::testing
