// gdi-compare: the share of identical pixels per primitive between two dumps of the table.
#include "tools/gdi_conformance/compare.h"

#include <cstring>
#include <exception>
#include <iostream>

int main(int argc, char** argv) {
    const bool pictures = argc == 4 && std::strcmp(argv[1], "--pictures") == 0;
    if (argc != 3 && !pictures) {
        std::cerr << "Usage: gdi-compare [--pictures] REFERENCE OURS\n"
                     "Prints the share of identical pixels per primitive; with --pictures, also "
                     "every differing cell.\n";
        return 2;
    }
    try {
        const auto reference = gdi_conformance::ReadDump(argv[argc - 2]);
        const auto ours = gdi_conformance::ReadDump(argv[argc - 1]);
        const auto comparison = gdi_conformance::Compare(reference, ours);
        if (pictures) {
            for (const auto& cell : comparison.cells)
                std::cout << gdi_conformance::Picture(cell) << '\n';
        }
        std::cout << gdi_conformance::Report(comparison);
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "gdi-compare: " << e.what() << '\n';
        return 1;
    }
}
