#pragma once

namespace velmora {

class BufferedFile;
class Id3v1Tag;
class SettingsKey;

namespace text {
class CodePage;
}

// The ID3v1 steps of loading and saving, on an open file; file errors throw
// CFileExceptionEx.

// Reads the last 128 bytes into `tag` when they are an ID3v1 tag (and says so); else leaves
// `tag` alone.
bool ReadId3v1(BufferedFile& file, Id3v1Tag& tag, const text::CodePage& codePage);

// Writes a modified tag over the file's old ID3v1 tag, or appends it when there is none (a
// file of 128 bytes or less always gets it appended). With AutoDeleteV1 set, an empty tag
// removes the old one instead. The written bytes are flushed before the modified flag is
// cleared, so a failure leaves the tag modified and a later save tries again.
void WriteId3v1Step(Id3v1Tag& tag, BufferedFile& file, const text::CodePage& codePage,
                    const SettingsKey& settings);

// Cuts the file's ID3v1 tag off (files of 129 bytes or more only); the in-memory tag stays.
void StripId3v1(BufferedFile& file);

}  // namespace velmora
