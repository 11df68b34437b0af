#include <algorithm>
#include <array>
#include <optional>
#include <unordered_map>
#include <vector>

#include "tags/file/ByteCursor.h"
#include "tags/id3v2/FrameId.h"
#include "tags/id3v2/FrameWalk.h"

// ID3v2.4 frame sizes are synchsafe, but a widely used player long wrote plain 32-bit sizes
// into ID3v2.4 tags, and tags edited by both kinds of writer hold both. The two readings
// agree for frames below 128 bytes; for the others, the reading under which frame headers
// follow each other exactly, to the padding or the end of the tag, is the right one.
namespace velmora {

namespace {

using Size = FrameHeaderFormat::Size;
constexpr std::size_t kHeader = 10;
constexpr std::array<Size, 2> kReadings = {Size::Synchsafe32, Size::BigEndian32};

struct PerFrameReading {
    std::optional<std::size_t> count;  // frames that line up from the start, if any do
    std::vector<std::size_t> plainAt;
};

class SizeReadings {
  public:
    explicit SizeReadings(std::span<const std::uint8_t> area) : area_(area) {
        auto last = std::find_if(area.rbegin(), area.rend(), [](std::uint8_t b) { return b; });
        zerosFrom_ = static_cast<std::size_t>(area.rend() - last);
    }

    // The walk ends here exactly: at the end of the tag or where only padding follows.
    bool EndsCleanly(std::size_t position) const {
        return position == area_.size() || position >= zerosFrom_;
    }

    // Where the next frame starts under the reading, or nothing when no frame with a valid
    // ID and a fitting size starts here.
    std::optional<std::size_t> Next(std::size_t position, Size reading) const {
        ByteCursor cursor(area_, "frame header");
        if (!cursor.Take(position))
            return std::nullopt;
        auto header = cursor.Take(kHeader);
        if (!header || !IsValidFrameId({reinterpret_cast<const char*>(header->data()), 4}))
            return std::nullopt;
        auto size = ReadFrameSize(header->subspan(4), reading);
        if (!size || !cursor.Take(*size))
            return std::nullopt;
        return cursor.Consumed();
    }

    // The frames of the walk under one reading throughout; nothing when they do not line up.
    std::optional<std::size_t> UniformCount(Size reading, bool& ambiguous) const {
        std::size_t count = 0;
        for (std::size_t position = 0; !EndsCleanly(position); ++count) {
            auto next = Next(position, reading);
            if (!next)
                return std::nullopt;
            Size other = reading == Size::Synchsafe32 ? Size::BigEndian32 : Size::Synchsafe32;
            ambiguous = ambiguous || Next(position, other) != next;
            position = *next;
        }
        return count;
    }

    // Per frame: from every frame start reachable under either reading, the most frames that
    // still line up to the end; then the walk that takes, frame by frame, the reading with
    // the most (synchsafe on a tie). Where nothing lines up, the reading that lands on a
    // frame header is taken.
    PerFrameReading PerFrame() const {
        const std::unordered_map<std::size_t, std::size_t> best = LinedUpCounts();
        auto framesFrom = [&](std::optional<std::size_t> position) -> std::optional<std::size_t> {
            if (!position)
                return std::nullopt;
            if (EndsCleanly(*position))
                return 0;
            auto found = best.find(*position);
            return found == best.end() ? std::nullopt : std::optional(found->second);
        };
        PerFrameReading result;
        result.count = framesFrom(std::size_t{0});
        for (std::size_t position = 0; !EndsCleanly(position);) {
            auto synchsafe = Next(position, Size::Synchsafe32);
            auto plain = Next(position, Size::BigEndian32);
            if (!plain || plain == synchsafe) {
                if (!synchsafe)
                    break;
                position = *synchsafe;
                continue;
            }
            auto viaSynchsafe = framesFrom(synchsafe);
            auto viaPlain = framesFrom(plain);
            bool takePlain = viaPlain && (!viaSynchsafe || *viaPlain > *viaSynchsafe);
            if (!viaPlain && !viaSynchsafe)
                takePlain = !synchsafe || (!StartsFrame(*synchsafe) && StartsFrame(*plain));
            if (takePlain)
                result.plainAt.push_back(position);
            position = takePlain ? *plain : *synchsafe;
        }
        return result;
    }

  private:
    // For each frame start reachable from the first under either reading: the most frames
    // that line up from there to the end; starts from which none do are left out.
    std::unordered_map<std::size_t, std::size_t> LinedUpCounts() const {
        std::vector<std::size_t> starts;
        std::vector<std::size_t> pending = {0};
        std::unordered_map<std::size_t, std::size_t> best;
        while (!pending.empty()) {
            std::size_t position = pending.back();
            pending.pop_back();
            if (EndsCleanly(position) || !best.emplace(position, 0).second)
                continue;
            starts.push_back(position);
            for (Size reading : kReadings) {
                if (auto next = Next(position, reading))
                    pending.push_back(*next);
            }
        }
        best.clear();
        // A frame ends after it starts: from the last start back, every successor is settled.
        std::sort(starts.begin(), starts.end(), std::greater<>());
        for (std::size_t position : starts) {
            std::optional<std::size_t> most;
            for (Size reading : kReadings) {
                auto next = Next(position, reading);
                if (!next)
                    continue;
                std::optional<std::size_t> after;
                if (EndsCleanly(*next))
                    after = 0;
                else if (auto found = best.find(*next); found != best.end())
                    after = found->second;
                if (after && (!most || *after + 1 > *most))
                    most = *after + 1;
            }
            if (most)
                best[position] = *most;
        }
        return best;
    }

    bool StartsFrame(std::size_t position) const {
        return Next(position, Size::Synchsafe32) || Next(position, Size::BigEndian32);
    }

    std::span<const std::uint8_t> area_;
    std::size_t zerosFrom_ = 0;  // only zero bytes from here on
};

}  // namespace

FrameHeaderFormat ChooseV4FrameSizes(std::span<const std::uint8_t> area) {
    const SizeReadings readings(area);
    bool ambiguous = false;
    const auto synchsafe = readings.UniformCount(Size::Synchsafe32, ambiguous);
    if (synchsafe && !ambiguous)
        return FrameHeaderFormat::ForVersion(4, true);  // the plain reading is the same walk
    const auto plain = readings.UniformCount(Size::BigEndian32, ambiguous);
    // The whole-tag vote: a reading that lines up wins unless mixing the two per frame lines
    // up more frames (tags written by both kinds of writer).
    PerFrameReading perFrame = readings.PerFrame();
    const std::size_t most = perFrame.count.value_or(0);
    if (synchsafe && *synchsafe >= most)
        return FrameHeaderFormat::ForVersion(4, true);
    if (plain && *plain >= most)
        return FrameHeaderFormat::ForVersion(4, false);
    FrameHeaderFormat format = FrameHeaderFormat::ForVersion(4, true);
    format.plainAt = std::move(perFrame.plainAt);
    return format;
}

}  // namespace velmora
