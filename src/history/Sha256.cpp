#include "history/Sha256.h"

#include <openssl/evp.h>

#include <stdexcept>

namespace velmora::history {

Sha256::Sha256()
    : algorithm_(EVP_MD_fetch(nullptr, "SHA256", nullptr)), context_(EVP_MD_CTX_new()) {
    if (algorithm_ == nullptr || context_ == nullptr) {
        EVP_MD_CTX_free(context_);
        EVP_MD_free(algorithm_);
        throw std::runtime_error("SHA-256 is not available");
    }
}

Sha256::~Sha256() {
    EVP_MD_CTX_free(context_);
    EVP_MD_free(algorithm_);
}

Digest Sha256::Of(std::span<const std::uint8_t> first, std::span<const std::uint8_t> second) {
    Digest digest{};
    unsigned int length = 0;
    if (EVP_DigestInit_ex2(context_, algorithm_, nullptr) != 1 ||
        EVP_DigestUpdate(context_, first.data(), first.size()) != 1 ||
        EVP_DigestUpdate(context_, second.data(), second.size()) != 1 ||
        EVP_DigestFinal_ex(context_, digest.data(), &length) != 1)
        throw std::runtime_error("SHA-256 failed");
    return digest;
}

}  // namespace velmora::history
