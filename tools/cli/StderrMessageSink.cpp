#include "StderrMessageSink.h"

#include <iostream>

#include "text/Utf8.h"

namespace velmora::cli {
namespace {

// A message box breaks its text into lines (after the step, before the path); on a terminal one
// message is one line, so the breaks (also those inside a path) become spaces.
std::string ForTerminal(const std::u16string& text) {
    std::string out;
    for (char c : text::ToUtf8(text)) {
        if (c == '\r' || c == '\n') {
            if (!out.empty() && out.back() != ' ')
                out.push_back(' ');
        } else {
            out.push_back(c);
        }
    }
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

}  // namespace

MessageAnswer StderrMessageSink::Show(const Message& message) {
    ++messages_;
    if (message.icon == MessageIcon::Error)
        ++errors_;
    std::cerr << "velmora-cli: " << ForTerminal(MessageText(message, u"\n")) << '\n';
    switch (message.buttons) {
        case MessageButtons::Ok:
            return MessageAnswer::Ok;
        case MessageButtons::OkCancel:
            return answerYes_ ? MessageAnswer::Ok : MessageAnswer::Cancel;
        case MessageButtons::YesNo:
            return answerYes_ ? MessageAnswer::Yes : MessageAnswer::No;
        case MessageButtons::YesNoCancel:
            return answerYes_ ? MessageAnswer::Yes : MessageAnswer::Cancel;
    }
    return MessageAnswer::Cancel;
}

}  // namespace velmora::cli
