# The emscripten build (preset `web`): build/web/site/ holds the page. Size matters here: -Oz, and
# nothing in the platform layer pulls in iostream.
set(CMAKE_EXECUTABLE_SUFFIX ".html")
add_compile_options(-Oz)
add_link_options(-Oz)
add_subdirectory(platform)
include(cmake/App.cmake)
add_subdirectory(tools/korveline_web)
