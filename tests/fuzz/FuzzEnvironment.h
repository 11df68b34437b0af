#pragma once

#include <cstddef>
#include <string>

#include "fuzz/FuzzTargets.h"
#include "support/ScratchDirectory.h"
#include "tags/FileTestHelpers.h"
#include "tags/Id3v2TestSupport.h"

namespace velmora::fuzz {

using testing::Cp1252;
using testing::TextPath;

// The folder for the files targets write, on tmpfs (/dev/shm) where there is one, so the
// real file access is exercised without touching a disk.
const testing::ScratchDirectory& Scratch();

// Replaces the file `name` in the scratch folder with the bytes.
void WriteScratchFile(const std::string& name, Input bytes);

// The tag engine's options follow the input's size, so both written versions and every
// encoding choice are reached without spending input bytes that real MP3 seeds do not have.
struct TagEngine : testing::TestEngine {
    explicit TagEngine(std::size_t inputSize) {
        Use24((inputSize & 1) != 0, static_cast<std::uint32_t>((inputSize >> 1) % 4));
    }
    std::uint8_t WrittenVersion() const { return context.options.Id3v2Version(); }
    std::size_t MessageCount() const { return messages.Shown().size(); }
};

}  // namespace velmora::fuzz
