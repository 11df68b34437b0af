#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "FileTestHelpers.h"
#include "Id3v1TestRecords.h"
#include "Id3v2TestSupport.h"
#include "support/ScratchDirectory.h"
#include "tags/id3v1/Id3v1Record.h"
#include "tags/id3v1/Id3v1Tag.h"
#include "tags/record/Padding.h"
#include "tags/record/TagFileWriter.h"

namespace velmora::testing {

// A tag header declaring `size` (synchsafe), followed by `body` (which need not match it).
inline std::string TagBytes(std::uint32_t size, const std::string& body, char version = 3,
                            char flags = 0) {
    return std::string("ID3") + version + '\0' + flags + static_cast<char>((size >> 21) & 0x7F) +
           static_cast<char>((size >> 14) & 0x7F) + static_cast<char>((size >> 7) & 0x7F) +
           static_cast<char>(size & 0x7F) + body;
}

// One save: what it asks for, and the file it must give as a plain edit of the old bytes.
struct SaveJob {
    bool stripV1 = false;
    bool writeV1 = false;
    bool emptyV1 = false;  // the written ID3v1 tag is empty, with AutoDeleteV1 set
    bool stripV2 = false;
    std::optional<std::string> frames{};
    char version = 3;

    // The oracle: the ID3v1 step, then the ID3v2 step, as the algorithm reads.
    std::string Apply(std::string file, const std::string& v1Record) const {
        const bool hasV1 = file.size() > 128 && file.compare(file.size() - 128, 3, "TAG") == 0;
        if (hasV1 && (stripV1 || writeV1)) {
            file.resize(file.size() - 128);
        }
        if (!stripV1 && writeV1 && !emptyV1) {
            file += v1Record;
        }
        if ((file.size() <= 10 && stripV2) || (!stripV2 && !frames)) {
            return file;
        }
        std::uint32_t end = 0;  // of the old tag, with an ID3v2.4 footer
        if (file.size() > 10 && file.compare(0, 3, "ID3") == 0) {
            for (int i = 6; i < 10; ++i) {
                end = (end << 7) | static_cast<std::uint8_t>(file[i]);
            }
            end += 10 + (file[3] == 4 && (file[5] & 0x10) != 0 ? 10 : 0);
        }
        if (stripV2) {
            return end <= file.size() ? file.erase(0, end) : file;
        }
        const auto length = static_cast<std::uint32_t>(frames->size());
        const std::uint32_t padding =
            end >= length + 10 ? end - 10 - length
                               : PaddingFor(static_cast<std::uint32_t>(file.size() - end), length);
        return file.replace(
            0, end, TagBytes(length + padding, *frames, version) + std::string(padding, '\0'));
    }
};

// What a save needs around it: the engine (code page, message recorder) and a folder.
struct SaveHarness : TestEngine {
    ScratchDirectory dir;
    Id3v1Tag v1 = MakeId3v1({u"New title", u"Someone"}, 7, 17);

    TagSave Request(const std::filesystem::path& path, const SaveJob& job = {}) {
        TagSave save;
        save.path = TextPath(path);
        if (job.stripV1) {
            save.id3v1 = Id3v1Action::Remove;
        } else if (job.writeV1) {
            save.WriteId3v1(job.emptyV1 ? Id3v1Tag() : v1, Cp1252(), job.emptyV1);
        }
        save.stripId3v2 = job.stripV2;
        if (job.frames) {
            save.id3v2Frames = std::vector<std::uint8_t>(job.frames->begin(), job.frames->end());
        }
        save.id3v2Version = static_cast<std::uint8_t>(job.version);
        return save;
    }
    std::string Expected(const SaveJob& job, const std::string& before) const {
        return job.Apply(before, AsBytes(EncodeId3v1(v1, Cp1252())));
    }
};

}  // namespace velmora::testing
