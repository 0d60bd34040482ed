# Sanitized builds. KORVELINE_SANITIZE (preset asan) builds every target, tests included, with
# AddressSanitizer and UndefinedBehaviorSanitizer; KORVELINE_FUZZ (preset fuzz) adds libFuzzer's
# coverage instrumentation for the targets in fuzz/. A finding stops the program at once
# (-fno-sanitize-recover), so it fails the test or the fuzzing run that met it.
if(NOT (KORVELINE_SANITIZE OR KORVELINE_FUZZ))
  return()
endif()

set(KORVELINE_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all
                              -fno-omit-frame-pointer)
# GCC leaves out-of-range float-to-int conversions out of -fsanitize=undefined; clang has them in.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  list(APPEND KORVELINE_SANITIZER_FLAGS -fsanitize=float-cast-overflow)
endif()
add_compile_options(${KORVELINE_SANITIZER_FLAGS})
add_compile_definitions(KORVELINE_CONTRACTS)
add_link_options(${KORVELINE_SANITIZER_FLAGS})

if(KORVELINE_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "KORVELINE_FUZZ needs clang and libFuzzer: use the fuzz preset")
  endif()
  # Every library the fuzzers reach reports its coverage; only the fuzzers link libFuzzer's main.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
