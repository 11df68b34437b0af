#include "batch/GenerateCommand.h"

#include <memory>

#include "common/Messages.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"
#include "tags/ops/FrameTextOps.h"
#include "tags/record/EngineContext.h"
#include "tags/record/Mp3File.h"
#include "text/FileName.h"

namespace velmora::batch {
namespace {

std::unique_ptr<FileNameCapture> CompileOrReport(std::u16string_view expression,
                                                 MessageSink& messages) {
    try {
        return std::make_unique<FileNameCapture>(expression);
    } catch (regex::REGEXPERROR) {
        ShowError(messages, MessageKind::ExpressionNotParsed, {});
        return nullptr;
    }
}

}  // namespace

std::vector<std::u16string> RecentGenerateExpressions(const SettingsKey& settings) {
    return settings.ReadList(settings::kRegExps);
}

void ForgetGenerateExpression(SettingsKey& settings, std::u16string_view expression) {
    settings.RemoveFromList(settings::kRegExps, expression);
}

GeneratePreview PreviewGenerate(std::u16string_view expression, const std::vector<Mp3File*>& batch,
                                const text::CodePage& codePage) {
    GeneratePreview preview;
    std::optional<FileNameCapture> capture;
    try {
        capture.emplace(expression);
    } catch (regex::REGEXPERROR code) {
        preview.compileError = code;
        return preview;
    }
    preview.captures.reserve(batch.size());
    for (const Mp3File* file : batch)
        preview.captures.push_back(
            capture->Capture(text::DecodeEscapedBytes(file->Name(), codePage)));
    return preview;
}

bool GenerateTagsFromNames(std::u16string_view expression, const std::vector<Mp3File*>& batch,
                           SettingsKey& settings, const EngineContext& context) {
    auto capture = CompileOrReport(expression, context.messages);
    if (!capture)
        return false;
    settings.AddToList(settings::kRegExps, expression);
    for (Mp3File* file : batch) {
        const auto fields =
            capture->Capture(text::DecodeEscapedBytes(file->Name(), context.codePage));
        if (!fields) {
            ShowError(context.messages, MessageKind::NameDidNotMatch, {file->Name()});
            continue;
        }
        for (const CapturedField& field : *fields)
            SetFrameText(file->V2(), field.frame, field.text, context);
    }
    return true;
}

}  // namespace velmora::batch
