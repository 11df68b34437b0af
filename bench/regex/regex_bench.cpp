// Compile + search over ten thousand file names with the usual "tags from file names"
// patterns. Prints the time per name; run it on a quiet machine (Release build).

#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "batch/regex/RegexEngine.h"

namespace {

using velmora::regex::RegexEngine;

constexpr int kNames = 10'000;

std::u16string Widen(std::string_view ascii) {
    return {ascii.begin(), ascii.end()};
}

// Deterministic, plausible names in three shapes: "Artist - Title.mp3",
// "07 - Artist - Title.mp3" and "Artist - Album - 07 - Title.mp3".
std::vector<std::u16string> MakeNames() {
    static constexpr std::string_view kArtists[] = {
        "Nina Simone", "The Beatles",    "Daft Punk", "Sigur Ros", "Miles Davis",
        "Bjork",       "Massive Attack", "Radiohead", "Air",       "Boards of Canada"};
    static constexpr std::string_view kAlbums[] = {
        "Moon Safari", "Kind of Blue",   "Homogenic",  "Mezzanine",   "OK Computer",
        "Discovery",   "Agaetis Byrjun", "Abbey Road", "Pastel Blues"};
    static constexpr std::string_view kTitles[] = {"Feeling Good",
                                                   "Come Together",
                                                   "One More Time",
                                                   "Svefn-g-englar",
                                                   "So What",
                                                   "Joga",
                                                   "Teardrop",
                                                   "Paranoid Android",
                                                   "Kelly Watch the Stars",
                                                   "Roygbiv",
                                                   "Sinnerman (live at Carnegie Hall, 1964)",
                                                   "Here Comes the Sun - Remastered 2009"};
    std::vector<std::u16string> names;
    unsigned state = 12345;
    auto pick = [&state](std::size_t n) {
        state = state * 1103515245u + 12345u;
        return (state >> 16) % n;
    };
    for (int i = 0; i < kNames; ++i) {
        const std::string artist(kArtists[pick(std::size(kArtists))]);
        const std::string album(kAlbums[pick(std::size(kAlbums))]);
        const std::string title(kTitles[pick(std::size(kTitles))]);
        char track[8];
        std::snprintf(track, sizeof track, "%02u", static_cast<unsigned>(1 + pick(20)));
        switch (i % 3) {
            case 0:
                names.push_back(Widen(artist + " - " + title + ".mp3"));
                break;
            case 1:
                names.push_back(
                    Widen(std::string(track) + " - " + artist + " - " + title + ".mp3"));
                break;
            default:
                names.push_back(
                    Widen(artist + " - " + album + " - " + track + " - " + title + ".mp3"));
                break;
        }
    }
    return names;
}

struct Result {
    double nanosecondsPerName;
    int matched;
};

template <class Body>
Result Time(const std::vector<std::u16string>& names, Body body) {
    int matched = 0;
    const auto start = std::chrono::steady_clock::now();
    for (const std::u16string& name : names) {
        matched += body(name) ? 1 : 0;
    }
    const auto elapsed = std::chrono::steady_clock::now() - start;
    const double ns = std::chrono::duration<double, std::nano>(elapsed).count();
    return {ns / static_cast<double>(names.size()), matched};
}

}  // namespace

int main() {
    const std::vector<std::u16string> names = MakeNames();
    const std::u16string patterns[] = {
        u"(?P<artist>.*) - (?P<title>.*)\\.mp3",
        u"(?P<track>\\d+) - (?P<artist>.*) - (?P<title>.*)\\.mp3",
        u"(?P<artist>.*) - (?P<album>.*) - (?P<track>\\d+) - (?P<title>.*)\\.mp3",
    };
    std::printf("%d names\n", kNames);
    for (const std::u16string& pattern : patterns) {
        const Result each = Time(names, [&pattern](const std::u16string& name) {
            RegexEngine engine;
            engine.Compile(pattern);
            return engine.Search(name) && !engine.GroupText(u"artist").empty();
        });
        RegexEngine shared;
        shared.Compile(pattern);
        int cutShort = 0;
        const Result once = Time(names, [&shared, &cutShort](const std::u16string& name) {
            const bool found = shared.Search(name) && !shared.GroupText(u"artist").empty();
            cutShort += shared.BudgetExhausted() ? 1 : 0;
            return found;
        });
        std::printf(
            "%s\n  compile + search: %8.0f ns/name   search only: %8.0f ns/name   "
            "matched %d, cut short by the step budget %d\n",
            std::string(pattern.begin(), pattern.end()).c_str(), each.nanosecondsPerName,
            once.nanosecondsPerName, each.matched, cutShort);
    }
    return 0;
}
