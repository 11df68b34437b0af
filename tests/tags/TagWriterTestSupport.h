#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/FakeSettingsKey.h"
#include "FileTestHelpers.h"
#include "settings/SettingNames.h"
#include "support/RecordingMessageSink.h"
#include "support/ScratchDirectory.h"
#include "tags/EngineContext.h"
#include "tags/Id3v1Record.h"
#include "tags/Id3v1Tag.h"
#include "tags/Padding.h"
#include "tags/TagFileWriter.h"
#include "text/CodePage.h"

namespace velmora::testing {

inline std::string Synchsafe(std::uint32_t size) {
    return {static_cast<char>((size >> 21) & 0x7F), static_cast<char>((size >> 14) & 0x7F),
            static_cast<char>((size >> 7) & 0x7F), static_cast<char>(size & 0x7F)};
}

// A tag header declaring `size`, followed by `body` (which need not match the size).
inline std::string TagBytes(std::uint32_t size, const std::string& body, char version = 3,
                            char flags = 0) {
    return std::string("ID3") + version + '\0' + flags + Synchsafe(size) + body;
}

inline std::vector<std::uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

inline std::string Text(const std::vector<std::uint8_t>& bytes) {
    return {bytes.begin(), bytes.end()};
}

inline std::string Id3v1Bytes(const Id3v1Record& record) {
    return {record.begin(), record.end()};
}

// The save as a plain edit of the file's bytes, step by step as the algorithm reads: the
// oracle the writer's output is compared with.
struct ModelSave {
    bool stripV1 = false;
    std::optional<std::string> v1Record;  // "" removes the record (empty tag, AutoDeleteV1)
    bool stripV2 = false;
    std::optional<std::string> frames;
    char version = 3;

    std::string Apply(std::string file) const {
        ApplyId3v1(file);
        if (stripV2) {
            StripId3v2(file);
        } else if (frames) {
            WriteId3v2(file);
        }
        return file;
    }

  private:
    static bool HasId3v1(const std::string& file) {
        return file.size() > 128 && file.compare(file.size() - 128, 3, "TAG") == 0;
    }
    static std::uint64_t TagEnd(const std::string& file) {
        std::uint64_t size = 0;
        for (int i = 6; i < 10; ++i) {
            size = (size << 7) | static_cast<std::uint8_t>(file[i]);
        }
        const bool footer = file[3] == 4 && (file[5] & 0x10) != 0;
        return size + 10 + (footer ? 10 : 0);
    }
    void ApplyId3v1(std::string& file) const {
        if (stripV1) {
            if (HasId3v1(file)) {
                file.resize(file.size() - 128);
            }
        } else if (v1Record) {
            if (HasId3v1(file)) {
                file.resize(file.size() - 128);
            }
            file += *v1Record;
        }
    }
    void StripId3v2(std::string& file) const {
        if (file.size() > 10 && file.compare(0, 3, "ID3") == 0 && TagEnd(file) < file.size()) {
            file.erase(0, TagEnd(file));
        }
    }
    void WriteId3v2(std::string& file) const {
        if (file.size() <= 10) {
            return;
        }
        const auto length = static_cast<std::uint32_t>(frames->size());
        if (file.compare(0, 3, "ID3") == 0) {
            const std::uint64_t end = TagEnd(file);
            if (length + 10 <= end) {
                const auto padding = static_cast<std::uint32_t>(end - 10 - length);
                file.replace(0, end, NewTag(padding));
            } else {
                const auto padding =
                    PaddingFor(static_cast<std::uint32_t>(file.size() - end), length);
                file.replace(0, end, NewTag(padding));
            }
        } else {
            file.insert(0, NewTag(PaddingFor(static_cast<std::uint32_t>(file.size()), length)));
        }
    }
    std::string NewTag(std::uint32_t padding) const {
        const auto size = static_cast<std::uint32_t>(frames->size()) + padding;
        return TagBytes(size, *frames, version) + std::string(padding, '\0');
    }
};

// What a save needs around it: a folder, settings, the code page and a message recorder.
struct SaveHarness {
    ScratchDirectory dir;
    FakeSettingsKey settings;
    std::unique_ptr<text::CodePage> codePage = text::CodePage::Create("CP1252");
    RecordingMessageSink messages;
    EngineContext context{settings, *codePage, messages};

    TagSaveRequest Request(const std::filesystem::path& path) const {
        TagSaveRequest request;
        request.path = TextPath(path);
        return request;
    }
    std::u16string SaveFailure(const std::filesystem::path& path) const {
        return u"Couldn't save ID3v2 tag to\n" + TextPath(path);
    }
};

inline Id3v1Tag SampleId3v1() {
    Id3v1Tag tag;
    tag.SetText(Id3v1Tag::kTitle, u"New title");
    tag.SetText(Id3v1Tag::kArtist, u"Someone");
    tag.SetTrack(7);
    tag.SetGenre(17);
    return tag;
}

inline struct stat StatOf(const std::filesystem::path& path) {
    struct stat info {};
    ::lstat(path.c_str(), &info);
    return info;
}

}  // namespace velmora::testing
