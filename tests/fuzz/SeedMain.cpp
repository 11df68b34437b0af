#include <cstdio>
#include <filesystem>
#include <fstream>

#include "fuzz/FuzzHarness.h"

// Writes every ready-made input to <folder>/<target>/<name>.
int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    for (const auto& input : velmora::fuzz::ReadyMadeInputs()) {
        const std::filesystem::path folder = std::filesystem::path(argv[1]) / input.target;
        std::filesystem::create_directories(folder);
        const std::string bytes(input.bytes.begin(), input.bytes.end());
        if (!(std::ofstream(folder / input.name, std::ios::binary) << bytes).flush()) {
            std::fprintf(stderr, "cannot write %s\n", (folder / input.name).c_str());
            return 1;
        }
    }
    return 0;
}
