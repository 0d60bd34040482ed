# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (x86_64-w64-mingw32).
# The win32 thread model is preferred: the program has no threads, and it leaves libwinpthread out.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KORVELINE_MINGW_TRIPLE x86_64-w64-mingw32)
find_program(CMAKE_CXX_COMPILER NAMES ${KORVELINE_MINGW_TRIPLE}-g++-win32 ${KORVELINE_MINGW_TRIPLE}-g++
             REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${KORVELINE_MINGW_TRIPLE}-windres)

# Headers and libraries come from the target's tree only; programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${KORVELINE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
