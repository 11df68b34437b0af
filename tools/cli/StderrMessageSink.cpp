#include "StderrMessageSink.h"

#include <iostream>

#include "text/Utf8.h"

namespace velmora::cli {
namespace {

// Message texts use the window's CR LF line breaks; a terminal wants plain ones.
std::string ForTerminal(const std::u16string& text) {
    std::string out;
    for (char c : text::ToUtf8(text)) {
        if (c != '\r')
            out.push_back(c);
    }
    while (!out.empty() && out.back() == '\n')
        out.pop_back();
    return out;
}

}  // namespace

MessageAnswer StderrMessageSink::Show(const Message& message) {
    if (message.icon == MessageIcon::Error)
        ++errors_;
    std::cerr << "velmora-cli: " << ForTerminal(message.text) << '\n';
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
