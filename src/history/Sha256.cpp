#include "history/Sha256.h"

#include <openssl/evp.h>

namespace velmora::history {

Digest Sha256(std::span<const std::uint8_t> bytes) {
    Digest digest{};
    unsigned int length = 0;
    EVP_Digest(bytes.data(), bytes.size(), digest.data(), &length, EVP_sha256(), nullptr);
    return digest;
}

}  // namespace velmora::history
