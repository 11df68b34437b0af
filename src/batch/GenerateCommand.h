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
namespace text {
class CodePage;
}

namespace batch {

// The recent expressions (`RegExps`), oldest first; there is no default.
std::vector<std::u16string> RecentGenerateExpressions(const SettingsKey& settings);
void ForgetGenerateExpression(SettingsKey& settings, std::u16string_view expression);

// What the generate command would take from each file's name, without changing anything.
struct GeneratePreview {
    // Why the expression does not compile (RegexErrorMeaning tells it in words); no
    // captures then.
    std::optional<regex::REGEXPERROR> compileError;
    // In batch order: nothing for a name that does not match.
    std::vector<std::optional<std::vector<CapturedField>>> captures;
};
// A name's bytes that are not UTF-8 are read through the code page (text::DecodeEscapedBytes),
// here as in the command.
GeneratePreview PreviewGenerate(std::u16string_view expression, const std::vector<Mp3File*>& batch,
                                const text::CodePage& codePage);

// The generate command. An expression that does not compile shows the ExpressionNotParsed
// error and returns false: no file is touched and the expression is not stored.
// Otherwise the expression goes to `RegExps`, each file's name is searched, a match sets
// the captured texts with SetFrameText, and each file that does not match gets its own
// error; true, as the dialog then closes. `settings` keeps the list.
bool GenerateTagsFromNames(std::u16string_view expression, const std::vector<Mp3File*>& batch,
                           SettingsKey& settings, const EngineContext& context);

}  // namespace batch
}  // namespace velmora
