// Converting 8-bit text through the code page's tables against one iconv call per string,
// the way a converter without tables would work. Prints both and their ratio.
#include <iconv.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "text/CodePage.h"

namespace {

using Clock = std::chrono::steady_clock;

std::vector<std::string> SampleTexts() {
    std::vector<std::string> texts;
    const char* words[] = {"Caf\xE9 ", "Beyonc\xE9 ", "Mot\xF6rhead ", "Sigur R\xF3s ",
                           "Live ",    "Remaster ",   "\x80uro ",      "Na\xEFve "};
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        for (int w = 0; w < 1 + i % 6; ++w)
            text += words[(i + w) % 8];
        texts.push_back(text);
    }
    return texts;
}

double NanosPerString(Clock::duration elapsed, std::size_t count) {
    return std::chrono::duration<double, std::nano>(elapsed).count() / static_cast<double>(count);
}

}  // namespace

int main() {
    auto page = velmora::text::CodePage::Create("CP1252");
    const auto texts = SampleTexts();
    std::size_t sink = 0;

    auto start = Clock::now();
    for (int round = 0; round < 10; ++round) {
        for (const auto& text : texts)
            sink += page->Decode(text).size();
    }
    const double table = NanosPerString(Clock::now() - start, texts.size() * 10);

    iconv_t cd = iconv_open("UTF-16LE", "CP1252");
    std::vector<char> out(1024);
    start = Clock::now();
    for (int round = 0; round < 10; ++round) {
        for (const auto& text : texts) {
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            char* in = const_cast<char*>(text.data());
            std::size_t inLeft = text.size();
            char* dst = out.data();
            std::size_t outLeft = out.size();
            iconv(cd, &in, &inLeft, &dst, &outLeft);
            sink += out.size() - outLeft;
        }
    }
    const double plain = NanosPerString(Clock::now() - start, texts.size() * 10);
    iconv_close(cd);

    std::printf(
        "decode, per string: tables %.1f ns, one iconv call %.1f ns, ratio %.2f (sink %zu)\n",
        table, plain, table / plain, sink);
    return 0;
}
