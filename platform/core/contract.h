// What a layer expects of its callers, checked where it costs nothing that matters: in debug and
// sanitizer builds (KORVELINE_CONTRACTS). A broken expectation there stops the program at once,
// naming the place; release builds keep their own guards instead.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace kv {

[[noreturn]] inline void contract_broken(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: contract broken: %s\n", file, line, what);
    std::abort();
}

} // namespace kv

#if defined(KORVELINE_CONTRACTS)
#define KV_EXPECTS(condition)                                                                      \
    ((condition) ? void(0) : ::kv::contract_broken(#condition, __FILE__, __LINE__))
#else
#define KV_EXPECTS(condition) void(0)
#endif
