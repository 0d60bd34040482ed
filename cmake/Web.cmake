# The emscripten build (preset `web`): build/web/site/ holds the page. Nothing in the platform
# layer pulls in iostream.
#
# The optimisation comes from KORVELINE_WEB_OPTIMIZE alone, for the page and for korveline-script
# under node alike. The build type's own -O flag is dropped: emcc remembers an -Os or -Oz anywhere
# on its command line and then inlines only functions declared inline (std::min, std::max and the
# small accessors stay calls), even when a later -O2 sets the level; a Tick cost about four times
# as much.
set(KORVELINE_WEB_OPTIMIZE "-O2" CACHE STRING "Optimisation flag of the web build")
if(KORVELINE_WEB_OPTIMIZE MATCHES "^-O[sz]$")
  message(WARNING "KORVELINE_WEB_OPTIMIZE=${KORVELINE_WEB_OPTIMIZE}: no inlining, a slow Tick")
endif()
foreach(config IN ITEMS DEBUG RELEASE MINSIZEREL RELWITHDEBINFO)
  string(REGEX REPLACE "(^| )-O[0-9sz]?( |$)" " " CMAKE_CXX_FLAGS_${config}
                       "${CMAKE_CXX_FLAGS_${config}}")
endforeach()
add_compile_options(${KORVELINE_WEB_OPTIMIZE})
add_link_options(${KORVELINE_WEB_OPTIMIZE})
# WebAssembly beyond its first version, as every browser has run it since 2021 (Chrome 75,
# Firefox 79, Safari 15): memset and memcpy as single instructions (the page's first frame clears
# and copies megabytes before its code is optimised: about 25 ms sooner), conversions of doubles
# to integers with no range checks around them, and sign extension.
set(web_features -mbulk-memory -mnontrapping-fptoint -msign-ext)
add_compile_options(${web_features})
add_link_options(${web_features})
add_subdirectory(platform)
include(cmake/App.cmake)
add_subdirectory(tools/instruments)
add_subdirectory(tools/korveline_web)
