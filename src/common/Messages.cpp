#include "common/Messages.h"

#include "common/SystemReason.h"

namespace velmora {
namespace {

// Why a step failed: the words of the message itself, else the system's.
std::u16string Reason(const Message& message) {
    if (!message.detail.empty())
        return message.detail;
    return message.cause ? SystemReasonText(message.cause.value()) : std::u16string();
}

std::u16string Path(const Message& message, std::size_t index) {
    return index < message.paths.size() ? message.paths[index] : std::u16string();
}

// The step that failed, then the path it failed on.
std::vector<std::u16string> StepAndPath(std::u16string step, const Message& message) {
    return {std::move(step), Path(message, 0)};
}

std::vector<std::u16string> Lines(const Message& message) {
    switch (message.kind) {
        case MessageKind::Note:
            return message.lines;
        case MessageKind::LoadOpenFailed:
            return StepAndPath(u"Couldn't open file:", message);
        case MessageKind::LoadParseFailed:
            return StepAndPath(u"Error while parsing file:", message);
        case MessageKind::SaveOpenFailed:
            return StepAndPath(u"Couldn't open", message);
        case MessageKind::SaveFailed:
            return StepAndPath(u"Couldn't save ID3v2 tag to", message);
        case MessageKind::FolderNotWritable:
            return {u"Couldn't save ID3v2 tag to",
                    Path(message, 0) + u": the folder " + Path(message, 1) +
                        u" is not writable, so the audio cannot be moved safely"};
        case MessageKind::NotAnMp3:
            return {Path(message, 0) + u" is not an MP3 file; nothing changed"};
        case MessageKind::ChangedOnDisk:
            return {Path(message, 0) +
                    u" changed on disk since it was loaded; reload it before saving"};
        case MessageKind::RenameFailed:
            return {u"Couldn't rename \"" + Path(message, 0) + u"\" to \"" + Path(message, 1) +
                    u"\""};
        case MessageKind::ExportOpenFailed:
            return StepAndPath(u"Couldn't open file", message);
        case MessageKind::ExportWriteFailed:
            return StepAndPath(u"Couldn't write to file", message);
        case MessageKind::ExpressionNotParsed:
            return {u"The regular expression you entered could not be parsed."};
        case MessageKind::NameDidNotMatch:
            return {u"The regular expression didn't match the filename"};
        case MessageKind::UnrecognizedField:
            return {u"Unrecognized field: " + message.detail};
        case MessageKind::HistoryNotWritten:
            return {u"Couldn't save",
                    Path(message, 0) + u": its old tags could not be kept in the history of saves"};
    }
    return message.lines;
}

// Kinds whose text is complete without the reason.
bool TakesReason(MessageKind kind) {
    return kind != MessageKind::Note && kind != MessageKind::UnrecognizedField &&
           kind != MessageKind::FolderNotWritable;
}

}  // namespace

std::u16string MessageReason(const Message& message) {
    return TakesReason(message.kind) ? Reason(message) : std::u16string();
}

std::vector<std::u16string> MessageLines(const Message& message) {
    std::vector<std::u16string> lines = Lines(message);
    const std::u16string reason = MessageReason(message);
    if (!reason.empty() && !lines.empty())
        lines.back() += u": " + reason;
    return lines;
}

std::u16string MessageText(const Message& message, std::u16string_view lineBreak) {
    std::u16string text;
    for (const std::u16string& line : MessageLines(message)) {
        if (!text.empty())
            text += lineBreak;
        text += line;
    }
    return text;
}

Message ErrorMessage(MessageKind kind, std::vector<std::u16string> paths, std::error_code cause,
                     std::u16string detail) {
    Message message;
    message.kind = kind;
    message.paths = std::move(paths);
    message.cause = cause;
    message.detail = std::move(detail);
    message.caption = kErrorCaption;
    message.icon = MessageIcon::Error;
    return message;
}

Message NoteMessage(std::vector<std::u16string> lines, std::u16string caption, MessageIcon icon,
                    MessageButtons buttons) {
    Message message;
    message.lines = std::move(lines);
    message.caption = std::move(caption);
    message.icon = icon;
    message.buttons = buttons;
    return message;
}

std::error_code SystemError(int errorNumber) {
    return errorNumber == 0 ? std::error_code()
                            : std::error_code(errorNumber, std::generic_category());
}

}  // namespace velmora
