// make_test_folder DIR: writes the showcase songs into DIR (for the window's screenshot).
#include <iostream>

#include "TestFolder.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_test_folder DIR\n";
        return 2;
    }
    velmora::testing::WriteSongs(argv[1], velmora::testing::ShowcaseSongs());
    return 0;
}
