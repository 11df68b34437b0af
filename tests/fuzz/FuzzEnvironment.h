#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

#include "common/Messages.h"
#include "fuzz/FuzzTargets.h"
#include "tags/EngineContext.h"

namespace velmora::text {
class CodePage;
}

namespace velmora::fuzz {

// A folder for the files a target writes, on tmpfs (/dev/shm) where there is one, so the
// real file access is exercised without touching a disk. Removed when the process ends.
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& Root() const { return root_; }
    std::u16string RootText() const;
    // Replaces the file `name` in the folder with the bytes; returns its path.
    std::filesystem::path Write(const std::string& name, Input bytes) const;

  private:
    std::filesystem::path root_;
};

// Counts what the core would have shown and answers the safe way.
class CountingSink : public MessageSink {
  public:
    MessageAnswer Show(const Message& message) override;
    int Count() const { return count_; }

  private:
    int count_ = 0;
};

const text::CodePage& Cp1252();

// Settings, code page and messages of the tag engine. The options follow the input's size,
// so both written versions and every encoding choice are reached without spending input
// bytes that real MP3 seeds do not have.
struct TagEngine {
    explicit TagEngine(std::size_t inputSize);

    std::uint8_t WrittenVersion() const { return use24 ? 4 : 3; }

    bool use24;
    CountingSink messages;
    EngineContext context{{}, Cp1252(), messages};
};

}  // namespace velmora::fuzz
