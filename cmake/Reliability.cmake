# The tools that keep the program proved under bad input and long runs: the soak script generator,
# and the libFuzzer targets when KORVELINE_FUZZ is on (see cmake/Sanitizers.cmake).
if(NOT WIN32)
  add_subdirectory(tools/soak)
endif()
if(KORVELINE_FUZZ AND NOT WIN32)
  add_subdirectory(fuzz)
endif()
