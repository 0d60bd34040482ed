# The Windows build: korveline.exe against the real <windows.h>, one file that runs from a USB
# stick: a GUI program, the compiler's runtime linked in, importing system DLLs only. Nothing of
# platform/ goes in. `cmake --build --preset windows --target package` also makes the ZIP.
# Its icon and version details come from a resource script compiled by mingw's windres.
enable_language(RC)
set(KORVELINE_ICON ${CMAKE_SOURCE_DIR}/data/icons/korveline.ico)
configure_file(${CMAKE_SOURCE_DIR}/cmake/windows/korveline.rc.in
               ${CMAKE_CURRENT_BINARY_DIR}/korveline.rc @ONLY)
set_property(SOURCE ${CMAKE_CURRENT_BINARY_DIR}/korveline.rc APPEND
             PROPERTY OBJECT_DEPENDS ${KORVELINE_ICON})
# A library of its own: the C++ warning flags of the program's target are not windres options.
add_library(korveline_resources OBJECT ${CMAKE_CURRENT_BINARY_DIR}/korveline.rc)
add_executable(korveline WIN32 ${KORVELINE_APP_SOURCES} $<TARGET_OBJECTS:korveline_resources>)
target_include_directories(korveline PRIVATE ${CMAKE_SOURCE_DIR})
korveline_warnings(korveline)
target_link_options(korveline PRIVATE -mwindows -static -static-libgcc -static-libstdc++
                    $<$<CONFIG:Release,MinSizeRel>:-s>)

# The exe compiles the same sources itself (the libraries of cmake/App.cmake stay unbuilt): WinMain
# must sit in an object of the program, since MinGW's startup library, which calls it, comes after
# user libraries on the link line.

add_subdirectory(tools/gdi_conformance)

# The ZIP for teachers: the exe, the page, a short French/English text and the licence, the texts with
# Windows line ends (and the French one with a byte order mark) so that any Notepad shows them.
function(korveline_windows_text source name bom)
  file(READ ${source} text)
  string(REPLACE "\n" "\r\n" text "${text}")
  set(mark "")
  if(bom)
    string(ASCII 239 187 191 mark)
  endif()
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/${name} "${mark}${text}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
endfunction()
korveline_windows_text(${CMAKE_SOURCE_DIR}/cmake/windows/LISEZ-MOI.txt LISEZ-MOI.txt TRUE)
korveline_windows_text(${CMAKE_SOURCE_DIR}/LICENSE LICENSE.txt FALSE)

# Beside the exe, the page (the web build's one file, preset `web`): opened from disk it has every
# control the exe lacks (pause, zoom, captures, laboratory, English). Packaging without it fails.
set(KORVELINE_WEB_PAGE ${CMAKE_SOURCE_DIR}/build/web/site/index.html CACHE FILEPATH
    "The built one-file page the ZIP carries beside korveline.exe")

install(TARGETS korveline RUNTIME DESTINATION .)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/LISEZ-MOI.txt ${CMAKE_CURRENT_BINARY_DIR}/LICENSE.txt
        ${KORVELINE_WEB_PAGE} DESTINATION .)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME korveline)
set(CPACK_PACKAGE_VENDOR KORVELINE)
set(CPACK_PACKAGE_FILE_NAME korveline-${PROJECT_VERSION}-windows-x64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)
