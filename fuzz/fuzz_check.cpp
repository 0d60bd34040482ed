#include "fuzz/fuzz_check.h"

#include <cstdio>
#include <cstdlib>

namespace kvfuzz {

void check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

} // namespace kvfuzz
