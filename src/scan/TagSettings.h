#pragma once

#include "tags/record/TagOptions.h"

namespace velmora {

class SettingsKey;

// The tag engine's options as the settings Use2.4, Encoding and AutoDeleteV1 hold them; the
// window reads them again after its preferences dialog, the command line once a run.
TagOptions ReadTagOptions(const SettingsKey& settings);

}  // namespace velmora
