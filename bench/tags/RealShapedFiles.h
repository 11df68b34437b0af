#pragma once

#include <cstddef>
#include <filesystem>

#include "BenchFiles.h"

// Files shaped like a real library's rather than like the typical tag of BenchFiles.h: a
// front cover of 33 to 125 KiB in six files of seven, 0 to 3 comments, a TXXX and a POPM,
// ID3v2.3 with UTF-16 text and an ID3v1.1 record in even files, ID3v2.4 with UTF-8 text and
// no ID3v1 in odd ones. The title is "Song number N" and the audio that of TaggedFile, so
// RecordsLookRight accepts them.
namespace velmora::bench {

Bytes RealShapedFile(unsigned index);

// As GenerateFolder, with RealShapedFile.
void GenerateRealShapedFolder(const std::filesystem::path& folder, std::size_t count);

}  // namespace velmora::bench
