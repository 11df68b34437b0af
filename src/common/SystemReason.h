#pragma once

#include <string>

namespace velmora {

// The system's own words for an errno value ("No space left on device"), to follow a failure
// message after ": " so that the user learns why, not only what, failed.
std::u16string SystemReasonText(int errorNumber);

}  // namespace velmora
