# Warnings are errors in the presets developers and CI use (KORVELINE_WERROR=ON there); a plain
# `cmake -B build` build, as a packager makes it with another compiler, only reports them.
option(KORVELINE_WERROR "Treat compiler warnings as errors" OFF)

function(korveline_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                           -Wno-sign-conversion)
  if(KORVELINE_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
