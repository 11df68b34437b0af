#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "batch/FileNameCapture.h"

namespace velmora {

class Mp3File;
class SettingsKey;
struct EngineContext;

namespace batch {

inline constexpr char16_t kExpressionNotParsedText[] =
    u"The regular expression you entered could not be parsed.";
inline constexpr char16_t kNameDidNotMatchText[] =
    u"The regular expression didn't match the filename";

// The recent expressions (`RegExps`), oldest first; there is no default.
std::vector<std::u16string> RecentGenerateExpressions(const SettingsKey& settings);
void ForgetGenerateExpression(SettingsKey& settings, std::u16string_view expression);

// What the generate command would take from each file's name, in batch order, without
// changing anything: nothing for a name that does not match. Throws regex::REGEXPERROR
// when the expression does not compile.
std::vector<std::optional<std::vector<CapturedField>>> PreviewGenerate(
    std::u16string_view expression, const std::vector<Mp3File*>& batch);

// The generate command. An expression that does not compile shows the "could not be
// parsed" error and returns false: no file is touched and the expression is not stored.
// Otherwise the expression goes to `RegExps`, each file's name is searched, a match sets
// the captured texts with SetFrameText, and each file that does not match gets its own
// error; true, as the dialog then closes. `settings` keeps the list.
bool GenerateTagsFromNames(std::u16string_view expression, const std::vector<Mp3File*>& batch,
                           SettingsKey& settings, const EngineContext& context);

}  // namespace batch
}  // namespace velmora
