# The Windows build. korveline.exe (tools/korveline_windows) is the program: the application on the
# platform layer and the viewer, in a real Win32 window; one file that runs from a USB stick.
# `cmake --build --preset windows --target package` also makes the ZIP.
#
# korveline-gdi.exe, for the checks alone (scripts/ci/50-windows.sh), is the application compiled
# against the real <windows.h> and drawn by the real GDI: nothing of platform/ goes in, and its
# picture under Wine is held to ours.
# Both take their icon and version details from a resource script compiled by mingw's windres.
enable_language(RC)
set(KORVELINE_ICON ${CMAKE_SOURCE_DIR}/data/icons/korveline.ico)
configure_file(${CMAKE_SOURCE_DIR}/cmake/windows/korveline.rc.in
               ${CMAKE_CURRENT_BINARY_DIR}/korveline.rc @ONLY)
set_property(SOURCE ${CMAKE_CURRENT_BINARY_DIR}/korveline.rc APPEND
             PROPERTY OBJECT_DEPENDS ${KORVELINE_ICON})
# A library of its own: the C++ warning flags of the programs' targets are not windres options.
add_library(korveline_resources OBJECT ${CMAKE_CURRENT_BINARY_DIR}/korveline.rc)
add_subdirectory(tools/korveline_windows)

# The witness compiles the application's sources itself, with no include directory but the
# sources' own: <windows.h> is mingw's. WinMain must sit in an object of the program, since
# MinGW's startup library, which calls it, comes after user libraries on the link line.
add_executable(korveline_gdi WIN32 ${KORVELINE_APP_SOURCES} $<TARGET_OBJECTS:korveline_resources>)
set_target_properties(korveline_gdi PROPERTIES OUTPUT_NAME korveline-gdi)
target_include_directories(korveline_gdi PRIVATE ${CMAKE_SOURCE_DIR})
korveline_warnings(korveline_gdi)
target_link_options(korveline_gdi PRIVATE -mwindows -static -static-libgcc -static-libstdc++
                    $<$<CONFIG:Release,MinSizeRel>:-s>)

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

# Beside the exe, the page (the web build's one file, preset `web`): the same program opened from
# disk in a browser, for machines where no exe may run. Packaging without it fails.
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
