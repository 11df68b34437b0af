#include "fuzz/FuzzEnvironment.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string_view>

#include "text/CodePage.h"
#include "text/FileName.h"

namespace velmora::fuzz {
namespace {

std::filesystem::path ScratchBase() {
    const std::filesystem::path shm = "/dev/shm";
    std::error_code error;
    if (std::filesystem::is_directory(shm, error) && ::access(shm.c_str(), W_OK) == 0)
        return shm;
    return std::filesystem::temp_directory_path();
}

constexpr std::string_view kPrefix = "velmora-fuzz-";

// Folders of fuzz processes that ended without cleaning up (a crash aborts them).
void RemoveOrphans(const std::filesystem::path& base) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(base, error)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with(kPrefix))
            continue;
        const std::string pid =
            name.substr(kPrefix.size(), name.find('-', kPrefix.size()) - kPrefix.size());
        if (!pid.empty() && !std::filesystem::exists("/proc/" + pid, error))
            std::filesystem::remove_all(entry.path(), error);
    }
}

}  // namespace

ScratchFolder::ScratchFolder() {
    const std::filesystem::path base = ScratchBase();
    RemoveOrphans(base);
    std::string pattern =
        (base / (std::string(kPrefix) + std::to_string(::getpid()) + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed for " + pattern);
    root_ = pattern;
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

std::u16string ScratchFolder::RootText() const {
    return text::FileNameToText(root_.native());
}

std::filesystem::path ScratchFolder::Write(const std::string& name, Input bytes) const {
    const std::filesystem::path path = root_ / name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out.flush())
        throw std::runtime_error("cannot write " + path.string());
    return path;
}

MessageAnswer CountingSink::Show(const Message& message) {
    ++count_;
    switch (message.buttons) {
        case MessageButtons::YesNo:
        case MessageButtons::YesNoCancel:
            return MessageAnswer::No;
        case MessageButtons::OkCancel:
            return MessageAnswer::Cancel;
        case MessageButtons::Ok:
            break;
    }
    return MessageAnswer::Ok;
}

const text::CodePage& Cp1252() {
    static const std::unique_ptr<text::CodePage> codePage = text::CodePage::Create("CP1252");
    return *codePage;
}

TagEngine::TagEngine(std::size_t inputSize) : use24((inputSize & 1) != 0) {
    context.options.encoding = {use24, static_cast<std::uint32_t>((inputSize >> 1) % 4)};
}

}  // namespace velmora::fuzz
