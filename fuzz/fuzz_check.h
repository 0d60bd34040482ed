// What a fuzzer asserts: a broken promise aborts, which libFuzzer reports as a crash and keeps.
#pragma once

namespace kvfuzz {

// Aborts with `what` on standard error unless `ok`.
void check(bool ok, const char* what);

} // namespace kvfuzz
