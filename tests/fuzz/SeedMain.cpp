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
        const std::filesystem::path target = std::filesystem::path(argv[1]) / input.target;
        std::filesystem::create_directories(target);
        std::ofstream out(target / input.name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(input.bytes.data()),
                  static_cast<std::streamsize>(input.bytes.size()));
        if (!out.flush()) {
            std::fprintf(stderr, "cannot write %s\n", (target / input.name).c_str());
            return 1;
        }
    }
    return 0;
}
