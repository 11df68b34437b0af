#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tags/Id3v2TestSupport.h"
#include "tags/RecordFolder.h"
#include "tags/record/Mp3File.h"

namespace velmora::testing {

using Records = std::vector<Mp3File*>;

// Records loaded one by one from files of an ID3v2 tag, some audio and a tail (an ID3v1 tag).
class EditFolder : public RecordFolder {
  protected:
    Mp3File& Add(const std::string& name, const Bytes& tag, const std::string& tail = "") {
        Write(name, Cat({tag, B(Pattern(64, 1) + tail)}));
        return *records_.emplace_back(files_.emplace_back(Load(name)).get());
    }

    EngineContext& context_ = engine_.context;
    std::vector<std::unique_ptr<Mp3File>> files_;
    Records records_;
};

}  // namespace velmora::testing
