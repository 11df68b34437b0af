#pragma once

#include <zlib.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "support/FakeSettingsKey.h"
#include "support/RecordingMessageSink.h"
#include "tags/id3v2/FrameIdTable.h"
#include "tags/id3v2/Id3v2Header.h"
#include "tags/id3v2/Id3v2Reader.h"
#include "tags/id3v2/Id3v2Tag.h"
#include "tags/ops/FrameTextOps.h"
#include "tags/record/EngineContext.h"
#include "text/CodePage.h"
#include "text/Utf8.h"

namespace velmora::testing {

using Bytes = std::vector<std::uint8_t>;

inline const text::CodePage& Cp1252() {
    static const auto codePage = text::CodePage::Create("CP1252");
    return *codePage;
}

// Settings (for the recent lists), code page and message sink for one test.
struct TestEngine {
    FakeSettingsKey settings;
    RecordingMessageSink messages;
    EngineContext context{{}, Cp1252(), messages};

    void Use24(bool on, std::uint32_t encoding = 0) { context.options.encoding = {on, encoding}; }
};

inline Bytes B(std::string_view chars) {
    return Bytes(chars.begin(), chars.end());
}

inline Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

// UTF-16 little-endian with its byte-order mark.
inline Bytes Utf16(std::u16string_view text) {
    Bytes out = {0xFF, 0xFE};
    for (char16_t c : text)
        out.insert(out.end(),
                   {static_cast<std::uint8_t>(c & 0xFF), static_cast<std::uint8_t>(c >> 8)});
    return out;
}

// One frame with a 10-byte header: plain sizes for 2.3, synchsafe for 2.4 unless `plainSize`.
inline Bytes Frame(std::string_view id, const Bytes& body, std::uint8_t version = 3,
                   std::uint8_t formatFlags = 0, bool plainSize = false) {
    auto size = static_cast<std::uint32_t>(body.size());
    auto sizeBytes = version == 4 && !plainSize ? MakeSynchsafe32(size) : MakeBigEndian32(size);
    Bytes out(id.begin(), id.end());
    out.insert(out.end(), sizeBytes.begin(), sizeBytes.end());
    out.push_back(0);
    out.push_back(formatFlags);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

// An ID3v2.2 frame: three-character ID and 24-bit size.
inline Bytes Frame22(std::string_view id, const Bytes& body) {
    const auto size = static_cast<std::uint32_t>(body.size());
    Bytes out(id.begin(), id.end());
    out.insert(out.end(), {static_cast<std::uint8_t>(size >> 16),
                           static_cast<std::uint8_t>(size >> 8), static_cast<std::uint8_t>(size)});
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

// zlib data of `plain`, as a compressed frame holds it after the size it inflates to.
inline Bytes Deflate(const Bytes& plain) {
    uLongf size = compressBound(static_cast<uLong>(plain.size()));
    Bytes out(size);
    compress(out.data(), &size, plain.data(), static_cast<uLong>(plain.size()));
    out.resize(size);
    return out;
}

// The size `plain` inflates to (synchsafe in ID3v2.4), then its zlib data: a compressed body.
inline Bytes Compressed(const Bytes& plain, std::uint8_t version) {
    const auto size = static_cast<std::uint32_t>(plain.size());
    const auto length = version == 4 ? MakeSynchsafe32(size) : MakeBigEndian32(size);
    return Cat({Bytes(length.begin(), length.end()), Deflate(plain)});
}

inline Bytes TextBody(std::string_view latin1) {
    return Cat({{0}, B(latin1)});
}

// Header + body (+ padding); the declared size covers body and padding unless given.
inline Bytes Tag(std::uint8_t version, const Bytes& body, std::size_t padding = 0,
                 std::uint8_t flags = 0) {
    auto header = Id3v2Header::MakeDefault(version);
    header.SetFlags(flags);
    header.SetTagSize(static_cast<std::uint32_t>(body.size() + padding));
    Bytes out(header.Bytes().begin(), header.Bytes().end());
    out.insert(out.end(), body.begin(), body.end());
    out.insert(out.end(), padding, 0);
    return out;
}

struct ReadResult {
    std::unique_ptr<Id3v2Tag> tag = std::make_unique<Id3v2Tag>();
    Id3v2TagOnDisk onDisk;
};

inline ReadResult ReadBytes(const Bytes& file, TestEngine& engine) {
    ReadResult result;
    Id3v2Reader reader(Cp1252(), engine.context.options.encoding);
    result.onDisk = reader.ReadFromMemory(file, file.size(), *result.tag);
    return result;
}

// Every frame as "ID" or "ID=first text", joined by '|': "TIT2=Title|RVA2|TPE1=Artist".
inline std::string Describe(const Id3v2Tag& tag, bool withTexts = true) {
    std::string out;
    for (const auto& frame : tag.Frames()) {
        out += (out.empty() ? "" : "|") + frame->Id().ToString();
        const FrameField* text = withTexts ? FindField(*frame, FieldKind::Text) : nullptr;
        if (text)
            out += "=" + text::ToUtf8(text->GetText(Cp1252()));
    }
    return out;
}

inline std::string TextOf(const Id3v2Tag& tag, const char* id) {
    auto text = GetFrameText(tag, FrameId::FromChars(id), FieldKind::Text, Cp1252());
    return text ? text::ToUtf8(*text) : std::string("<none>");
}

}  // namespace velmora::testing
