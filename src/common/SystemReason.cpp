#include "common/SystemReason.h"

#include <system_error>

#include "text/Utf8.h"

namespace velmora {

std::u16string SystemReasonText(int errorNumber) {
    return text::FromUtf8(std::generic_category().message(errorNumber));
}

}  // namespace velmora
