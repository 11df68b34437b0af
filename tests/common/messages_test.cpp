#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "common/Messages.h"

namespace velmora {
namespace {

// The one text of each kind: a box breaks it where the lines end, a terminal line joins them
// with spaces; the system's reason, or the message's own, follows the last line.
TEST(MessageText, EachKindSaysItsTextWithTheReasonAndTheBreaksTheCallerChooses) {
    const struct {
        const char* why;
        Message message;
        std::u16string box;
    } rows[] = {
        {"load open, with the errno kept",
         ErrorMessage(MessageKind::LoadOpenFailed, {u"/m/a.mp3"}, SystemError(ENOENT)),
         u"Couldn't open file:\r\n/m/a.mp3: No such file or directory"},
        {"load read error",
         ErrorMessage(MessageKind::LoadParseFailed, {u"/m/a.mp3"}, SystemError(EIO)),
         u"Error while parsing file:\r\n/m/a.mp3: Input/output error"},
        {"save write failure keeps its cause",
         ErrorMessage(MessageKind::SaveFailed, {u"/m/a.mp3"}, SystemError(ENOSPC)),
         u"Couldn't save ID3v2 tag to\r\n/m/a.mp3: No space left on device"},
        {"the file's own reason wins over no cause",
         ErrorMessage(MessageKind::SaveFailed, {u"/m/a.mp3"}, {}, u"its tag is too large"),
         u"Couldn't save ID3v2 tag to\r\n/m/a.mp3: its tag is too large"},
        {"save refused without a reason", ErrorMessage(MessageKind::SaveFailed, {u"/m/a.mp3"}),
         u"Couldn't save ID3v2 tag to\r\n/m/a.mp3"},
        {"folder", ErrorMessage(MessageKind::FolderNotWritable, {u"/m/a.mp3", u"/m"}),
         u"Couldn't save ID3v2 tag to\r\n/m/a.mp3: the folder /m is not writable, so the audio "
         u"cannot be moved safely"},
        {"rename",
         ErrorMessage(MessageKind::RenameFailed, {u"a.mp3", u"b.mp3"}, SystemError(EEXIST)),
         u"Couldn't rename \"a.mp3\" to \"b.mp3\": File exists"},
        {"field name is the text, never a reason",
         ErrorMessage(MessageKind::UnrecognizedField, {}, {}, u"Artist"),
         u"Unrecognized field: Artist"},
        {"a note keeps its lines",
         NoteMessage({u"All subsequent changes to the ID3v1 tag will not be saved.",
                      u"Really remove ID3v1?"},
                     kAppCaption),
         u"All subsequent changes to the ID3v1 tag will not be saved.\r\nReally remove ID3v1?"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(MessageText(row.message, u"\r\n"), row.box) << row.why;
        std::u16string terminal = row.box;
        for (std::size_t at; (at = terminal.find(u"\r\n")) != std::u16string::npos;)
            terminal.replace(at, 2, u" ");
        EXPECT_EQ(MessageText(row.message, u" "), terminal) << row.why;
    }
}

}  // namespace
}  // namespace velmora
