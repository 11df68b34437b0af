#include "BenchEngine.h"

#include <stdexcept>

namespace velmora::bench {
namespace {

std::unique_ptr<text::CodePage> Cp1252() {
    auto codePage = text::CodePage::Create("CP1252");
    if (!codePage) {
        throw std::runtime_error("iconv lacks CP1252");
    }
    return codePage;
}

}  // namespace

MessageAnswer CountingMessageSink::Show(const Message& message) {
    ++count_;
    switch (message.buttons) {
        case MessageButtons::YesNo:
        case MessageButtons::YesNoCancel:
            return MessageAnswer::No;
        default:
            return MessageAnswer::Ok;
    }
}

BenchEngine::BenchEngine() : codePage_(Cp1252()), context_{{}, *codePage_, messages_} {}

}  // namespace velmora::bench
