// Setting a comment on a tag that already holds many: the time per COMM frame at 10,000,
// 100,000 and 500,000 frames, which must stay flat once the tag no longer fits the caches
// (the search is one pass over the list). Also timed: a plain loop over the frame list.
//   comment_scale_bench
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "BenchEngine.h"
#include "BenchMeasure.h"
#include "tags/id3v2/FrameIdTable.h"
#include "tags/id3v2/Id3v2Tag.h"
#include "tags/ops/CommentOps.h"
#include "text/Utf8.h"

namespace velmora::bench {
namespace {

constexpr double kFlatAim = 1.5;  // per-frame cost at 500,000 frames against 100,000
constexpr int kRuns = 5;

std::u16string Description(std::size_t index) {
    return text::FromUtf8("note " + std::to_string(index));
}

struct Figures {
    double set = 0;    // seconds per frame
    double floor = 0;  // seconds per frame
};

Figures Measure(std::size_t frames, BenchEngine& engine) {
    // Each comment is made in a tag of its own and moved over: AddComment marks every frame of
    // its tag, which would make building the large tags quadratic.
    Id3v2Tag tag;
    for (std::size_t i = 0; i < frames; ++i) {
        Id3v2Tag one;
        AddComment(one, "eng", Description(i), u"text", engine.Context());
        tag.MutableFrames().push_back(std::move(one.MutableFrames().front()));
    }
    std::vector<double> set;
    std::vector<double> floor;
    std::size_t seen = 0;
    for (int run = 0; run < kRuns; ++run) {
        // The last comment is found only after every other one has been looked at.
        set.push_back(SecondsFor([&] {
            SetCommentText(tag, Description(frames - 1),
                           u"run " + text::FromUtf8(std::to_string(run)), "eng", engine.Context());
        }));
        floor.push_back(SecondsFor([&] {
            for (const auto& frame : tag.Frames())
                seen += frame->Id() == frame_ids::kComm;
        }));
    }
    if (seen != frames * kRuns || tag.Frames().size() != frames)
        std::fprintf(stderr, "the tag does not hold what was made\n");
    return {Median(set) / static_cast<double>(frames), Median(floor) / static_cast<double>(frames)};
}

}  // namespace
}  // namespace velmora::bench

int main() {
    using namespace velmora::bench;
    BenchEngine engine;
    Figures middle;
    Figures largest;
    for (std::size_t frames : {std::size_t{10000}, std::size_t{100000}, std::size_t{500000}}) {
        const Figures figures = Measure(frames, engine);
        std::printf(
            "%7zu COMM frames: set %.1f ms, %.1f ns / frame | loop over the list %.1f "
            "ns / frame\n",
            frames, figures.set * 1e3 * static_cast<double>(frames), figures.set * 1e9,
            figures.floor * 1e9);
        (frames == 100000 ? middle : largest) = figures;
    }
    const double ratio = largest.set / middle.set;
    std::printf("per-frame cost, 500,000 against 100,000: %.2f (aim <= %.1f: %s)\n", ratio,
                kFlatAim, ratio <= kFlatAim ? "met" : "MISSED");
    return engine.Messages().Count() == 0 ? 0 : 1;
}
