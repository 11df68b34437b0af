#pragma once

namespace velmora {

class SettingsKey;
class MessageSink;
namespace text {
class CodePage;
}

// What the tag engine reads from its surroundings: the settings store (read at the moment
// of use, so a changed option takes effect with the next frame or save), the active 8-bit
// code page, and where messages go. Owned by the caller; outlives every operation.
struct EngineContext {
    const SettingsKey& settings;
    const text::CodePage& codePage;
    MessageSink& messages;
};

}  // namespace velmora
