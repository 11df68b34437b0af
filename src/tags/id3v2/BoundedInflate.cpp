#include "tags/id3v2/BoundedInflate.h"

#include <zlib.h>

#include <algorithm>

namespace velmora {

std::optional<std::vector<std::uint8_t>> InflateBounded(std::span<const std::uint8_t> compressed) {
    const std::size_t limit = std::min(kMaxInflatedBytes, compressed.size() * kMaxInflateRatio);
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return std::nullopt;
    stream.next_in = const_cast<Bytef*>(compressed.data());
    stream.avail_in = static_cast<uInt>(compressed.size());

    std::vector<std::uint8_t> out;
    int status = Z_OK;
    while (status == Z_OK) {
        if (out.size() >= limit) {
            status = Z_MEM_ERROR;
            break;
        }
        std::size_t used = out.size();
        std::size_t grow = std::min(std::max<std::size_t>(used, 16384), limit - used);
        out.resize(used + grow);
        stream.next_out = out.data() + used;
        stream.avail_out = static_cast<uInt>(grow);
        status = inflate(&stream, Z_NO_FLUSH);
        out.resize(used + (grow - stream.avail_out));
        if (status == Z_BUF_ERROR && stream.avail_out != 0)
            break;  // the input ended before the stream did
        if (status == Z_BUF_ERROR)
            status = Z_OK;
    }
    inflateEnd(&stream);
    if (status != Z_STREAM_END)
        return std::nullopt;
    return out;
}

}  // namespace velmora
