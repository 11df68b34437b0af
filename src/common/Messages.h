#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace velmora {

// The core never shows anything itself: every message or question goes through a
// MessageSink. The window shows a message box and blocks the calling worker until the
// user answers; the command line prints and answers the safe way; tests record.

enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

// What a message says, as data: the words are MessageLines' business, so that the window and
// the command line show the same text.
enum class MessageKind : std::uint8_t {
    Note,                 // lines: a text of the window or the command line, line by line
    LoadOpenFailed,       // paths[0]: a file that could not be opened for loading
    LoadParseFailed,      // paths[0]: a read or format error while loading
    SaveOpenFailed,       // paths[0]: the file to save could not be opened
    SaveFailed,           // paths[0]; detail: why, when the file (not the system) is the reason
    FolderNotWritable,    // paths[0]: the file; paths[1]: its folder, which takes no new file
    NotAnMp3,             // paths[0]: a file the save refuses to write
    ChangedOnDisk,        // paths[0]: the file changed since it was loaded
    RenameFailed,         // paths[0], paths[1]: old and new name; detail: why, or the cause
    ExportOpenFailed,     // paths[0]: the export target could not be opened
    ExportWriteFailed,    // paths[0]: writing or closing the export target failed
    ExpressionNotParsed,  // a tags-from-names expression that does not compile
    NameDidNotMatch,      // paths[0]: a name the expression did not match
    UnrecognizedField,    // detail: the name after a "%" that is no rename variable
    HistoryNotWritten,    // paths[0]: a file not saved since its old tags could not be kept
};

struct Message {
    MessageKind kind = MessageKind::Note;
    // The files or names the message is about, in the order its text names them.
    std::vector<std::u16string> paths;
    // The system error of the failing call (errno), when a call failed.
    std::error_code cause;
    // Words beyond the kind: a reason that is no system error, a field name.
    std::u16string detail;
    // The text of a Note, line by line.
    std::vector<std::u16string> lines;
    std::u16string caption;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
};

// Captions the system uses for its boxes.
inline constexpr char16_t kAppCaption[] = u"Velmora 1.1";
inline constexpr char16_t kErrorCaption[] = u"Error";

// Why the step failed, as the last line ends with it: the message's own words, else the
// system's reason; empty for kinds whose text is complete without one.
std::u16string MessageReason(const Message& message);
// The message's text, line by line, with the system's reason after ": " on the last line.
std::vector<std::u16string> MessageLines(const Message& message);
// The lines joined by `lineBreak`: a message box breaks lines, a terminal line uses a space.
std::u16string MessageText(const Message& message, std::u16string_view lineBreak);

// An error of the given kind (caption "Error", error icon, one OK button).
Message ErrorMessage(MessageKind kind, std::vector<std::u16string> paths,
                     std::error_code cause = {}, std::u16string detail = {});
// A text of the window or the command line; each line ends where a box breaks the line.
Message NoteMessage(std::vector<std::u16string> lines, std::u16string caption,
                    MessageIcon icon = MessageIcon::Information,
                    MessageButtons buttons = MessageButtons::Ok);
// The system error of errno value `errorNumber` (none for 0).
std::error_code SystemError(int errorNumber);

class MessageSink {
  public:
    virtual ~MessageSink() = default;
    // Shows the message and returns the user's answer; blocks until answered.
    virtual MessageAnswer Show(const Message& message) = 0;
};

// Convenience for the common cases.
inline MessageAnswer ShowError(MessageSink& sink, MessageKind kind,
                               std::vector<std::u16string> paths, std::error_code cause = {},
                               std::u16string detail = {}) {
    return sink.Show(ErrorMessage(kind, std::move(paths), cause, std::move(detail)));
}
inline MessageAnswer ShowNotice(MessageSink& sink, std::u16string text) {
    return sink.Show(NoteMessage({std::move(text)}, kAppCaption));
}

}  // namespace velmora
