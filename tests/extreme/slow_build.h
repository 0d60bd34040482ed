// Whether this build runs far slower than the release build: under AddressSanitizer, or without
// optimisation. Tests that do as much as fits in a while (never timed) size their work with it.
#pragma once

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KVTEST_ADDRESS_SANITIZER 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define KVTEST_ADDRESS_SANITIZER 1
#endif

namespace kvtest {

#if defined(KVTEST_ADDRESS_SANITIZER) || !defined(__OPTIMIZE__)
inline constexpr bool kSlowBuild = true;
#else
inline constexpr bool kSlowBuild = false;
#endif

} // namespace kvtest
