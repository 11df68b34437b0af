#include "fuzz/FuzzEnvironment.h"

#include <unistd.h>

#include <string_view>

namespace velmora::fuzz {
namespace {

constexpr std::string_view kPrefix = "velmora-fuzz-";

// Removes the folders of fuzz processes that ended without cleaning up (a crash aborts them).
std::filesystem::path ScratchBase() {
    std::error_code error;
    std::filesystem::path base = "/dev/shm";
    if (!std::filesystem::is_directory(base, error) || ::access(base.c_str(), W_OK) != 0)
        base = std::filesystem::temp_directory_path();
    for (const auto& entry : std::filesystem::directory_iterator(base, error)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with(kPrefix))
            continue;
        const std::string pid =
            name.substr(kPrefix.size(), name.find('-', kPrefix.size()) - kPrefix.size());
        if (!pid.empty() && !std::filesystem::exists("/proc/" + pid, error))
            std::filesystem::remove_all(entry.path(), error);
    }
    return base;
}

}  // namespace

const testing::ScratchDirectory& Scratch() {
    static const testing::ScratchDirectory folder(
        ScratchBase(), std::string(kPrefix) + std::to_string(::getpid()) + "-");
    return folder;
}

void WriteScratchFile(const std::string& name, Input bytes) {
    Scratch().WriteFile(name, {reinterpret_cast<const char*>(bytes.data()), bytes.size()});
}

}  // namespace velmora::fuzz
