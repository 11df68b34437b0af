#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "tags/file/FileException.h"
#include "tags/file/FileIdentity.h"

namespace velmora {

// Every tag reader and writer and every export touches the disk through a BufferedFile.
// Positions and sizes are 64-bit; writes go through one 32 KiB buffer; every system call
// failure after a successful Open throws CFileExceptionEx. Tests count and fail its system
// calls through FileFaults (BufferedFileFaults.h).
class BufferedFile {
  public:
    static constexpr std::size_t kBufferSize = 32768;

    // Mode bits.
    enum : unsigned {
        kRead = 1,
        kWrite = 2,
        kReadWrite = 4,
        kCreateNew = 8,
        kCreateAlways = 16,
        kOpenExisting = 32,
        kOpenAlways = 64,
    };

    BufferedFile();
    ~BufferedFile();
    BufferedFile(const BufferedFile&) = delete;
    BufferedFile& operator=(const BufferedFile&) = delete;

    // path is text; it is turned into the file-system name losslessly.
    bool Open(const std::u16string& path, unsigned mode, CFileExceptionEx& error);
    bool IsOpen() const;

    // A handle opened for reading only asks the system once and keeps the answer.
    std::uint64_t Size();
    void Seek(std::uint64_t position);
    std::uint64_t Tell();
    std::size_t Read(void* buffer, std::size_t count);
    void Write(const void* bytes, std::size_t count);
    void Truncate(std::uint64_t at);
    // Writes out pending bytes (and, with sync, asks the kernel to put them on disk).
    void Flush();
    void Sync();
    void Close();

    // The position lives in the BufferedFile (reads and writes name their offset), not in
    // the descriptor; use the descriptor for metadata only.
    int Descriptor() const;
    // The file as the open found it (the status the open checked its type with).
    const FileIdentity& OpenedAs() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace velmora
