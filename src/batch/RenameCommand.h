#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "batch/RenamePattern.h"
#include "common/Messages.h"

namespace velmora {

class Mp3File;
class SettingsKey;
struct EngineContext;

namespace batch {

inline constexpr char16_t kDefaultRenameExpression[] = u"%artist - %track - %title";

// The recent rename expressions (`Renames`), oldest first; a dialog shows them newest
// first. An empty list is seeded with the default expression, which is then its only entry.
std::vector<std::u16string> RecentRenameExpressions(SettingsKey& settings);
void ForgetRenameExpression(SettingsKey& settings, std::u16string_view expression);

// A new name is never given when it would hide the file (".mp3" from an empty pattern, a title "."
// giving "..mp3").
bool IsHiddenName(std::u16string_view name);

// What a rename would do to one file, without doing it.
struct RenamePreview {
    std::u16string newName;  // as the record would store it (forbidden characters replaced)
    bool changes = false;    // false when the file would leave the batch as unchanged
    // The error the rename would end in (a file that is not an MP3, a hidden name, a name of
    // the pattern's text alone, a name that is taken or cannot be made); none when it would go
    // through.
    std::optional<Message> refusal;
};
// The renames happen at the save, one file after the other in batch order: a name that an earlier
// file leaves is free for a later one, a name an earlier file takes is not.
std::vector<RenamePreview> PreviewRename(const RenamePattern& pattern,
                                         const std::vector<Mp3File*>& batch,
                                         const text::CodePage& codePage);
// The same for names typed by the user, one for each file of the batch.
std::vector<RenamePreview> PreviewNames(const std::vector<Mp3File*>& batch,
                                        const std::vector<std::u16string>& names);

// The rename command. Adds the expression to `Renames` (also when it then fails to compile),
// compiles it, and gives each file of the batch its expanded name as the name after the next save;
// files whose name did not change are removed from the batch. False, after the "Unrecognized field:
// " error and touching no file, when it does not compile. A file whose new name would be hidden,
// or be only the pattern's own text because all its fields are empty, keeps its name, after an
// error naming both; it leaves the batch. `settings` is the store that keeps the list.
bool RenameBatch(std::u16string_view expression, std::vector<Mp3File*>& batch,
                 SettingsKey& settings, const EngineContext& context);

}  // namespace batch
}  // namespace velmora
