#include "SaveFloors.h"

#include <fcntl.h>
#include <unistd.h>

#include <stdexcept>
#include <system_error>

#include "BenchFiles.h"
#include "BenchMeasure.h"

namespace velmora::bench {

void WriteAtStart(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (descriptor < 0 ||
        ::pwrite(descriptor, bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size())) {
        throw std::system_error(errno, std::generic_category(), path.string());
    }
    ::close(descriptor);
}

std::vector<std::uint8_t> ReadStart(const std::filesystem::path& path, std::size_t count) {
    std::vector<std::uint8_t> bytes(count);
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const ssize_t got = descriptor < 0 ? -1 : ::pread(descriptor, bytes.data(), count, 0);
    if (descriptor >= 0) {
        ::close(descriptor);
    }
    if (got != static_cast<ssize_t>(count)) {
        throw std::runtime_error("cannot read the start of " + path.string());
    }
    return bytes;
}

std::size_t TagRegionSize(const std::filesystem::path& path) {
    const std::vector<std::uint8_t> header = ReadStart(path, 10);
    return 10 + (std::size_t{header[6]} << 21 | std::size_t{header[7]} << 14 |
                 std::size_t{header[8]} << 7 | header[9]);
}

namespace {

void SyncPath(const std::filesystem::path& path) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0 || ::fsync(descriptor) != 0) {
        throw std::system_error(errno, std::generic_category(), path.string());
    }
    ::close(descriptor);
}

void Copy(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (!RunProgram({"cp", from.string(), to.string()})) {
        throw std::runtime_error("cp failed");
    }
}

}  // namespace

CopyTimes CopyWithCp(const std::filesystem::path& from, const std::filesystem::path& folder) {
    const auto copy = folder / "copy.tmp";
    const auto replaced = folder / "replaced.mp3";
    std::filesystem::remove(copy);
    Copy(from, replaced);
    FlushFileSystem(folder);
    CopyTimes times;
    times.copy = SecondsFor([&] { Copy(from, copy); });
    times.sync = SecondsFor([&] { SyncPath(copy); });
    times.replace = SecondsFor([&] {
        std::filesystem::rename(copy, replaced);
        SyncPath(folder);
    });
    return times;
}

}  // namespace velmora::bench
