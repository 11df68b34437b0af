#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "scan/FileListColumns.h"

namespace velmora {

namespace history {
class HistoryStore;
struct EntryRow;
}  // namespace history

// The columns of the old -> new table of the files a save changes, or changed: the list's tag
// columns and those it shows on request, so that no text edit the panel makes goes unseen.
// The file name stays last.
inline constexpr std::array<Column, 10> kChangeColumns = {
    Column::Artist, Column::Album,       Column::Title, Column::Year,     Column::Track,
    Column::Genre,  Column::AlbumArtist, Column::Disc,  Column::Composer, Column::Filename};

// What those columns show of one file before and after, and whether its pictures changed.
struct FileChange {
    std::array<std::u16string, kChangeColumns.size()> before;
    std::array<std::u16string, kChangeColumns.size()> after;
    bool picturesChanged = false;
};

// A file of a recorded batch: before from the old tags the store keeps, after from the file
// as it is now; `matches` false when it is no longer as the batch left it.
struct RecordedChange {
    FileChange change;
    bool matches = false;
};
RecordedChange RecordedChangeOf(history::HistoryStore& store, const history::EntryRow& entry,
                                const text::CodePage& codePage);
// The file is still as the batch left it.
bool StillAsSaved(const history::EntryRow& entry);
std::size_t FilesStillAsSaved(const std::vector<history::EntryRow>& entries);

// A record's pending edits: before from its file as it is on disk, after from the record.
FileChange PendingChangeOf(EngineContext& context, const Mp3File& record);

}  // namespace velmora
