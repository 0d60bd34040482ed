// gdi-conformance on our layer: the same program as on Windows, run without a display.
#include "tools/gdi_conformance/headless_run.h"

#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "Usage: gdi-conformance DUMP\n"
                     "Draws the table of GDI primitives on our layer and writes what GetPixel "
                     "reads back to DUMP.\n";
        return 2;
    }
    return gdi_conformance::RunHeadless(argv[1]);
}
