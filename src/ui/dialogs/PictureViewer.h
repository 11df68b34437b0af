#pragma once

#include <QTemporaryDir>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace velmora {
class MessageSink;
}

namespace velmora::ui {

// Hands a picture to the desktop's default viewer through a file "tempimage." + subtype in a
// folder of its own (mode 0700, under the user's runtime folder or else the temporary one),
// never at a fixed name in a shared folder. The folder goes with this object, when the
// viewers have long read their files.
class PictureViewer {
  public:
    // False when the file could not be written (the message has been shown).
    bool Open(std::span<const std::uint8_t> data, const std::string& subtype,
              MessageSink& messages);

  private:
    std::unique_ptr<QTemporaryDir> folder_;
};

}  // namespace velmora::ui
