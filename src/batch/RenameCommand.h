#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "batch/RenamePattern.h"

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

// What a rename would do to one file, without doing it.
struct RenamePreview {
    std::u16string newName;  // as the record would store it (forbidden characters replaced)
    bool changes = false;    // false when the file would leave the batch as unchanged
};
std::vector<RenamePreview> PreviewRename(const RenamePattern& pattern,
                                         const std::vector<Mp3File*>& batch,
                                         const text::CodePage& codePage);

// The rename command. Adds the expression to `Renames` (also when it then fails to
// compile), compiles it, and gives each file of the batch its expanded name as the name
// after the next save; files whose name did not change are removed from the batch. False,
// after the "Unrecognized field: " error and touching no file, when it does not compile.
// `settings` is the store that keeps the list; the context's settings are only read.
bool RenameBatch(std::u16string_view expression, std::vector<Mp3File*>& batch,
                 SettingsKey& settings, const EngineContext& context);

}  // namespace batch
}  // namespace velmora
