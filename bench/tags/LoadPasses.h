#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace velmora {
class Id3v2Reader;
class Mp3File;
struct EngineContext;
}  // namespace velmora

namespace velmora::bench {

using Records = std::vector<std::unique_ptr<Mp3File>>;

// The floor: the system calls the engine makes for a typical file, in plain C: open, fstat
// (the type check, which gives the size), read the 10-byte header, read the tag body it
// announces, read the last 128 bytes (ID3v1), read the 32 bytes in front of the audio's
// end (APEv2 and Lyrics3 trailers), read the MPEG search's first window after the tag, close.
// Returns the bytes read.
std::size_t ReadLikeALoader(const std::string& path, std::vector<std::uint8_t>& buffer);
std::size_t ReadLikeALoader(const std::filesystem::path& folder,
                            const std::vector<std::string>& names);

// The real path: one Mp3File per name with one reader reused across files, as the loader
// does; the records are kept (names are turned into text inside, as the loader must).
Records LoadRecords(EngineContext& context, Id3v2Reader& reader,
                    const std::filesystem::path& folder, const std::vector<std::string>& names);

// One record, as LoadRecords makes it.
std::unique_ptr<Mp3File> LoadRecord(EngineContext& context, Id3v2Reader& reader,
                                    const std::shared_ptr<const std::u16string>& directory,
                                    const std::string& name);

// False (and a line on stderr) unless every record holds what the generator wrote.
bool RecordsLookRight(const Records& records);

// A load in a process of its own, so the memory figures start from a clean heap: time,
// resident set and heap growth for keeping every record of the folder.
struct LoadFigures {
    std::size_t files = 0;
    double seconds = 0;
    double unloadSeconds = 0;
    std::size_t residentGrowth = 0;
    std::size_t peakGrowth = 0;
    std::size_t heapGrowth = 0;
    std::size_t messages = 0;
    bool valid = false;
};
LoadFigures LoadInFreshProcess(const std::filesystem::path& folder);

// Child modes of a benchmark program ("--child-figures DIR", "--child-load DIR",
// "--child-floor DIR"): the exit code when argv names one, else -1.
int RunChildMode(int argc, char** argv);

// A benchmark program's main: a child mode when argv names one, else `run`; an exception
// becomes a line on stderr and exit code 1.
int BenchmarkMain(int argc, char** argv, const std::function<int()>& run);

// This program's own path, for running it again as a child.
std::string OwnExecutable();

}  // namespace velmora::bench
