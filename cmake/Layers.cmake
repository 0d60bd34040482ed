# Each folder may include only what lies below it. Checked at every configure (and again when a
# source changes), so an include that goes upwards fails the build at once, with the line that
# does it. A rule lists the files it covers, then what their quoted includes may name: regular
# expressions, separated by spaces.

# What the application's parts share, below them all.
set(korveline_base_headers "base/.*\\.h")
# The whole application, as a program or a measurement may use it.
set(korveline_application "base/.* model/.* drawing/.* panels/.* shell/.*")
# Our Win32 layer up to the viewer: what a program finds under whichever backend it runs on.
set(korveline_platform "core/.* raster/.* font/.* gdi/.* user/.* image/.* viewer/.*")

set(korveline_layer_rules
    # The application.
    "base/.* ${korveline_base_headers}"
    "model/.* model/.* ${korveline_base_headers}"
    "drawing/.* drawing/.* ${korveline_base_headers}"
    "panels/.* panels/.* ${korveline_base_headers}"
    "shell/.* ${korveline_base_headers} shell/.* model/.* drawing/.* panels/.*"
    # Our Win32 layer, from the framebuffer up to the backends.
    "platform/core/.* core/.*"
    "platform/raster/.* core/.* raster/.*"
    "platform/font/.* core/.* font/.*"
    "platform/gdi/.* core/.* raster/.* font/.* gdi/.*"
    "platform/user/.* core/.* gdi/.* user/.*"
    "platform/viewer/.* core/.* font/.* image/.* user/.* viewer/.*"
    "platform/image/.* core/.* image/.*"
    "platform/backends/headless/.* core/.* user/.* image/.* backends/headless/.*"
    "platform/backends/desktop/.* core/.* font/.* viewer/.* image/.* backends/desktop/.*"
    "platform/backends/sdl/.* core/.* font/.* user/.* viewer/.* image/.* backends/desktop/.* backends/sdl/.*"
    "platform/backends/win32/.* core/.* font/.* user/.* viewer/.* image/.* backends/desktop/.* backends/win32/.*"
    "platform/backends/web/.* core/.* font/.* user/.* viewer/.* image/.* backends/web/.*"
    # The programs. What they share runs on any backend, so it names none.
    "tools/instruments/.* tools/instruments/.* ${korveline_application} ${korveline_platform}"
    # Each program is WinMain on its own backend.
    "tools/korveline/.* tools/instruments/.* ${korveline_application} ${korveline_platform} backends/sdl/.*"
    "tools/korveline_windows/.* tools/korveline_windows/.* tools/instruments/.* ${korveline_application} ${korveline_platform} backends/win32/.*"
    "tools/korveline_web/.* tools/korveline_web/.* tools/instruments/.* ${korveline_application} ${korveline_platform} backends/web/.*"
    "tools/korveline_script/.* tools/korveline_script/.* tools/instruments/.* ${korveline_application} ${korveline_platform} backends/headless/.*"
    # Our GDI against real GDI: the platform alone, without the application.
    "tools/gdi_conformance/.* tools/gdi_conformance/.* ${korveline_platform} backends/headless/.*"
    # Scripts made up for the soak test, and the font's table made from a TrueType font: nothing of
    # ours but their own files.
    "tools/soak/.* tools/soak/.*"
    "tools/fontgen/.* [a-z_]+\\.h"
    # Measurements and fuzzers: what they measure (the application's Ticks on the scripted backend,
    # the desktop's presenter, the steady curve) or feed (the script, the page's address).
    "bench/.* bench/.* ${korveline_application} ${korveline_platform} backends/headless/.* backends/desktop/.* tools/instruments/.*"
    "fuzz/.* fuzz/.* ${korveline_application} core/.* backends/headless/.* tools/instruments/.* tools/korveline_script/.* tools/korveline_web/.*")

# Under these folders every file needs a rule: a new program says what it stands on.
set(korveline_ruled_folders "tools/.*" "bench/.*" "fuzz/.*")

function(korveline_check_layers)
  set(folders base shell model drawing panels platform tools bench fuzz)
  set(globs "")
  foreach(folder ${folders})
    list(APPEND globs ${CMAKE_SOURCE_DIR}/${folder}/*.h ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
  endforeach()
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR} ${globs})
  set(violations "")
  foreach(source ${sources})
    # The first rule whose folder pattern matches the file decides.
    set(allowed "")
    foreach(rule ${korveline_layer_rules})
      string(REPLACE " " ";" parts "${rule}")
      list(POP_FRONT parts folder)
      if(source MATCHES "^${folder}$")
        set(allowed ${parts})
        break()
      endif()
    endforeach()
    if(NOT allowed)
      foreach(folder ${korveline_ruled_folders})
        if(source MATCHES "^${folder}$")
          string(APPEND violations "\n  ${source}: no rule says what it may include")
        endif()
      endforeach()
      continue()
    endif()
    file(STRINGS ${CMAKE_SOURCE_DIR}/${source} includes REGEX "^#include \"")
    foreach(line ${includes})
      string(REGEX REPLACE "^#include \"([^\"]*)\".*" "\\1" included "${line}")
      set(ok FALSE)
      foreach(pattern ${allowed})
        if(included MATCHES "^(${pattern})$")
          set(ok TRUE)
          break()
        endif()
      endforeach()
      if(NOT ok)
        string(APPEND violations "\n  ${source}: #include \"${included}\"")
      endif()
    endforeach()
  endforeach()
  if(violations)
    message(FATAL_ERROR "Includes against the layers (see cmake/Layers.cmake):${violations}")
  endif()
endfunction()
korveline_check_layers()
