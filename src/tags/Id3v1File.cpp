#include "tags/Id3v1File.h"

#include <array>
#include <cstdint>
#include <optional>

#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"
#include "tags/BufferedFile.h"
#include "tags/Id3v1Record.h"

namespace velmora {

namespace {

// The offset of the old tag when the file is long enough to hold audio before one.
std::optional<std::uint64_t> FindOldTag(BufferedFile& file, std::uint64_t size) {
    if (size <= kId3v1Size) {
        return std::nullopt;
    }
    const std::uint64_t at = size - kId3v1Size;
    file.Seek(at);
    std::array<std::uint8_t, 3> magic{};
    if (file.Read(magic.data(), magic.size()) != magic.size()) {
        return std::nullopt;
    }
    if (magic != std::array<std::uint8_t, 3>{'T', 'A', 'G'}) {
        return std::nullopt;
    }
    return at;
}

}  // namespace

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
    return true;
}

void WriteId3v1Step(Id3v1Tag& tag, BufferedFile& file, const text::CodePage& codePage,
                    const SettingsKey& settings) {
    if (!tag.IsModified()) {
        return;
    }
    const std::uint64_t size = file.Size();
    const std::uint64_t at = FindOldTag(file, size).value_or(size);
    if (settings.ReadBool(settings::kAutoDeleteV1, false) && tag.IsEmpty()) {
        if (at < size) {
            file.Truncate(at);
        }
    } else {
        const Id3v1Record record = EncodeId3v1(tag, codePage);
        file.Seek(at);
        file.Write(record.data(), record.size());
        file.Flush();
    }
    tag.SetModified(false);
}

void StripId3v1(BufferedFile& file) {
    const std::uint64_t size = file.Size();
    if (const auto at = FindOldTag(file, size)) {
        file.Truncate(*at);
    }
}

}  // namespace velmora
