#include "LoadPasses.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

#include "BenchEngine.h"
#include "BenchMeasure.h"
#include "tags/id3v2/Id3v2Reader.h"
#include "tags/mpeg/MpegFrameSearch.h"
#include "tags/mpeg/MpegHeader.h"
#include "tags/ops/FrameTextOps.h"
#include "tags/record/Mp3File.h"
#include "text/FileName.h"

namespace velmora::bench {
namespace {

constexpr std::size_t kId3v1Bytes = 128;
constexpr std::size_t kApeFooterBytes = 32;
constexpr std::size_t kLyricsTrailerBytes = 15;
// The engine's first read of the MPEG search: candidates, one frame and a header.
const std::size_t kMpegWindowBytes = kMpegFirstRead + MaxMpegFrameLength() + 4;

}  // namespace

std::size_t ReadLikeALoader(const std::string& path, std::vector<std::uint8_t>& buffer) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        return 0;
    }
    struct stat facts {};
    ::fstat(descriptor, &facts);  // the type check at open, which also gives the size
    const auto size = static_cast<std::size_t>(facts.st_size);
    std::array<std::uint8_t, 10> header{};
    std::size_t total = 0;
    ssize_t got = ::pread(descriptor, header.data(), header.size(), 0);
    std::size_t tagEnd = 0;
    if (got == 10 && std::memcmp(header.data(), "ID3", 3) == 0) {
        tagEnd = 10 + (std::size_t{header[6]} << 21 | std::size_t{header[7]} << 14 |
                       std::size_t{header[8]} << 7 | header[9]);
    }
    total += got > 0 ? static_cast<std::size_t>(got) : 0;
    if (buffer.size() < std::max(tagEnd, kMpegWindowBytes)) {
        buffer.resize(std::max(tagEnd, kMpegWindowBytes));
    }
    if (tagEnd > 10) {
        got = ::pread(descriptor, buffer.data(), tagEnd - 10, 10);
        total += got > 0 ? static_cast<std::size_t>(got) : 0;
    }
    std::size_t audioEnd = size;
    if (size >= kId3v1Bytes) {
        got = ::pread(descriptor, buffer.data(), kId3v1Bytes, static_cast<off_t>(size - 128));
        total += got > 0 ? static_cast<std::size_t>(got) : 0;
        audioEnd -= got == 128 && std::memcmp(buffer.data(), "TAG", 3) == 0 ? 128 : 0;
    }
    // The look for an APEv2 footer or a Lyrics3 trailer in front of that end.
    if (audioEnd > tagEnd && audioEnd - tagEnd >= kLyricsTrailerBytes) {
        const std::size_t count = std::min(kApeFooterBytes, audioEnd - tagEnd);
        got = ::pread(descriptor, buffer.data(), count, static_cast<off_t>(audioEnd - count));
        total += got > 0 ? static_cast<std::size_t>(got) : 0;
    }
    if (audioEnd > tagEnd) {
        got = ::pread(descriptor, buffer.data(), std::min(kMpegWindowBytes, audioEnd - tagEnd),
                      static_cast<off_t>(tagEnd));
        total += got > 0 ? static_cast<std::size_t>(got) : 0;
    }
    ::close(descriptor);
    return total;
}

namespace {

// Tells a parent timing with TimeProgram that the work is done.
void SignalReady() {
    std::fputc('.', stdout);
    std::fflush(stdout);
}

int ChildLoad(const std::filesystem::path& folder, bool printFigures) {
    const std::vector<std::string> names = ListFolder(folder);
    BenchEngine engine;
    Id3v2Reader reader(engine.Context().codePage, engine.Context().options.encoding);
    LoadFigures figures;
    figures.files = names.size();
    const std::size_t resident = ResidentBytes();
    const std::size_t heap = HeapBytesInUse();
    Records records;
    figures.seconds =
        SecondsFor([&] { records = LoadRecords(engine.Context(), reader, folder, names); });
    figures.residentGrowth = ResidentBytes() - resident;
    figures.peakGrowth =
        std::max(PeakResidentBytes(), resident + figures.residentGrowth) - resident;
    figures.heapGrowth = HeapBytesInUse() - heap;
    figures.messages = engine.Messages().Count();
    if (!printFigures) {
        SignalReady();
        return figures.messages == 0 ? 0 : 1;  // the records go as a program's do at exit
    }
    if (!RecordsLookRight(records)) {
        return 1;
    }
    figures.unloadSeconds = SecondsFor([&] { records.clear(); });
    std::printf("%zu %.9f %.9f %zu %zu %zu %zu\n", figures.files, figures.seconds,
                figures.unloadSeconds, figures.residentGrowth, figures.peakGrowth,
                figures.heapGrowth, figures.messages);
    return 0;
}

int ChildFloor(const std::filesystem::path& folder) {
    const std::vector<std::string> names = ListFolder(folder);
    const bool read = ReadLikeALoader(folder, names) > 0;
    SignalReady();
    return read ? 0 : 1;
}

}  // namespace

std::size_t ReadLikeALoader(const std::filesystem::path& folder,
                            const std::vector<std::string>& names) {
    std::vector<std::uint8_t> buffer;
    std::size_t total = 0;
    const std::string prefix = folder.string() + "/";
    for (const std::string& name : names) {
        total += ReadLikeALoader(prefix + name, buffer);
    }
    return total;
}

Records LoadRecords(EngineContext& context, Id3v2Reader& reader,
                    const std::filesystem::path& folder, const std::vector<std::string>& names) {
    Records records;
    records.reserve(names.size());
    // Shared by the folder's records, as the loader shares it.
    const auto directory =
        std::make_shared<const std::u16string>(text::FileNameToText(folder.native()));
    for (const std::string& name : names) {
        records.push_back(LoadRecord(context, reader, directory, name));
    }
    return records;
}

std::unique_ptr<Mp3File> LoadRecord(EngineContext& context, Id3v2Reader& reader,
                                    const std::shared_ptr<const std::u16string>& directory,
                                    const std::string& name) {
    return std::make_unique<Mp3File>(context, reader, directory, text::FileNameToText(name));
}

bool RecordsLookRight(const Records& records) {
    const auto codePage = text::CodePage::Create("CP1252");
    for (const auto& record : records) {
        const auto title = GetFrameText(record->V2(), FrameId("TIT2"), FieldKind::Text, *codePage);
        // 417-byte frames average 127.7 kbit/s, which the Xing header gives as 127.
        // Real-shaped files (RealShapedFiles.h) are ID3v2.4 too, and those have no ID3v1.
        const unsigned version = record->LoadedId3v2Version();
        if (record->Bitrate() != 127 || (version != 3 && version != 4) || !title ||
            title->rfind(u"Song number ", 0) != 0 || (version == 3 && record->V1().IsEmpty())) {
            std::fprintf(stderr,
                         "%s was not loaded as generated: %u kbit/s, ID3v2.%u, title \"%s\"\n",
                         text::TextToFileName(record->DiskName()).c_str(), record->Bitrate(),
                         record->LoadedId3v2Version(),
                         title ? text::TextToFileName(*title).c_str() : "(none)");
            return false;
        }
    }
    return true;
}

LoadFigures LoadInFreshProcess(const std::filesystem::path& folder) {
    const std::string command = OwnExecutable() + " --child-figures '" + folder.string() + "'";
    LoadFigures figures;
    std::FILE* output = ::popen(command.c_str(), "r");
    if (output == nullptr) {
        return figures;
    }
    const int fields =
        std::fscanf(output, "%zu %lf %lf %zu %zu %zu %zu", &figures.files, &figures.seconds,
                    &figures.unloadSeconds, &figures.residentGrowth, &figures.peakGrowth,
                    &figures.heapGrowth, &figures.messages);
    figures.valid = ::pclose(output) == 0 && fields == 7;
    return figures;
}

int RunChildMode(int argc, char** argv) {
    if (argc != 3) {
        return -1;
    }
    const std::string mode = argv[1];
    if (mode == "--child-figures") {
        return ChildLoad(argv[2], true);
    }
    if (mode == "--child-load") {
        return ChildLoad(argv[2], false);
    }
    if (mode == "--child-floor") {
        return ChildFloor(argv[2]);
    }
    return -1;
}

int BenchmarkMain(int argc, char** argv, const std::function<int()>& run) {
    try {
        const int child = RunChildMode(argc, argv);
        return child >= 0 ? child : run();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}

std::string OwnExecutable() {
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error).string();
}

}  // namespace velmora::bench
