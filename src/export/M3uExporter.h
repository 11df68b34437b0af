#pragma once

#include <string>
#include <vector>

#include "export/Exporter.h"
#include "export/PlaylistText.h"

namespace velmora {

namespace text {
class CodePage;
}

// The M3U playlist: "#EXTM3U", then per file an "#EXTINF:" line (duration, artist - title)
// and the entry line. Lines end with a line feed.
class M3uExporter : public Exporter {
  public:
    // `codePage` is the encoding of the text (the locale's: LocaleCodePage) unless the
    // encoding is UTF-8 (an M3U8 playlist); it outlives the exporter. Entries are the paths'
    // own bytes either way.
    explicit M3uExporter(const text::CodePage& codePage,
                         PlaylistEncoding encoding = PlaylistEncoding::CodePage)
        : codePage_(codePage), encoding_(encoding) {}

    bool BuildDocument(std::string& out, const std::vector<ExportedFile>& files,
                       const std::u16string& target) override;
    ExportFileType GetFileType() const override;

  protected:
    const text::CodePage& CodePage() const { return codePage_; }
    PlaylistEncoding Encoding() const { return encoding_; }

  private:
    const text::CodePage& codePage_;
    PlaylistEncoding encoding_;
};

}  // namespace velmora
