#pragma once

#include <array>
#include <cstdint>
#include <span>

struct evp_md_st;
struct evp_md_ctx_st;

namespace velmora::history {

using Digest = std::array<std::uint8_t, 32>;

// SHA-256 digests, the names under which the store keeps bytes. The algorithm is looked up
// once per hasher: a lookup costs more than hashing a small frame body.
class Sha256 {
  public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    Digest Of(std::span<const std::uint8_t> bytes) { return Of(bytes, {}); }
    // The digest of `first` followed by `second`, as if they were one run of bytes.
    Digest Of(std::span<const std::uint8_t> first, std::span<const std::uint8_t> second);

  private:
    evp_md_st* algorithm_;
    evp_md_ctx_st* context_;
};

}  // namespace velmora::history
