#pragma once

#include "tags/record/TagOptions.h"

namespace velmora {

class MessageSink;
class SaveRecorder;
namespace text {
class CodePage;
}

// What the tag engine takes from its surroundings: the user's options (the caller updates
// them when the user changes them; they take effect with the next frame or save), the active
// 8-bit code page, and where messages go. Owned by the caller; outlives every operation.
struct EngineContext {
    TagOptions options;
    const text::CodePage& codePage;
    MessageSink& messages;
    // Keeps the history of saves; none when the user keeps none.
    SaveRecorder* recorder = nullptr;
};

}  // namespace velmora
