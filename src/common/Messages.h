#pragma once

#include <string>

namespace velmora {

// The core never shows anything itself: every message or question goes through a
// MessageSink. The window shows a message box and blocks the calling worker until the
// user answers; the command line prints and answers the safe way; tests record.

enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct Message {
    std::u16string text;
    std::u16string caption;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
};

// Captions the system uses for its boxes.
inline constexpr char16_t kAppCaption[] = u"Velmora 1.1";
inline constexpr char16_t kErrorCaption[] = u"Error";

// Why a save left a file alone. A record whose file is neither tagged nor MPEG audio is
// never written; one whose file changed after the load must be loaded again; a save that
// would move the audio without a temporary file beside it is not done at all.
inline std::u16string NotAnMp3Text(const std::u16string& path) {
    return path + u" is not an MP3 file; nothing changed";
}
inline std::u16string ChangedOnDiskText(const std::u16string& path) {
    return path + u" changed on disk since it was loaded; reload it before saving";
}
inline std::u16string FolderNotWritableText(const std::u16string& folder) {
    return u"the folder " + folder + u" is not writable, so the audio cannot be moved safely";
}

class MessageSink {
  public:
    virtual ~MessageSink() = default;
    // Shows the message and returns the user's answer; blocks until answered.
    virtual MessageAnswer Show(const Message& message) = 0;
};

// Convenience for the common cases.
inline MessageAnswer ShowError(MessageSink& sink, std::u16string text) {
    return sink.Show({std::move(text), kErrorCaption, MessageIcon::Error, MessageButtons::Ok});
}
inline MessageAnswer ShowNotice(MessageSink& sink, std::u16string text) {
    return sink.Show({std::move(text), kAppCaption, MessageIcon::Information, MessageButtons::Ok});
}

}  // namespace velmora
