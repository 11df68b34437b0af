#include "tags/id3v1/Id3v1File.h"

#include <array>
#include <cstdint>

#include "tags/file/BufferedFile.h"
#include "tags/id3v1/Id3v1Record.h"

namespace velmora {

bool ReadId3v1(BufferedFile& file, Id3v1Tag& tag, const text::CodePage& codePage) {
    const std::uint64_t size = file.Size();
    if (size < kId3v1Size) {
        return false;
    }
    file.Seek(size - kId3v1Size);
    Id3v1Record record{};
    if (file.Read(record.data(), record.size()) != record.size() || !HasId3v1Magic(record)) {
        return false;
    }
    DecodeId3v1(record, codePage, tag);
    tag.SetLoaded(record);
    return true;
}

}  // namespace velmora
