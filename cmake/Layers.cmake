# Each folder may include only what lies below it. Checked at every configure (and again when a
# source changes), so an include that goes upwards fails the build at once, with the line that
# does it. A rule lists the files it covers, then what their quoted includes may name: regular
# expressions, separated by spaces.

# What the application's parts share, below them all.
set(korveline_base_headers "base/.*\\.h")

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
    "platform/backends/headless/.* core/.* user/.* image/.* viewer/.* backends/headless/.*"
    "platform/backends/desktop/.* core/.* font/.* viewer/.* image/.* backends/desktop/.*"
    "platform/backends/sdl/.* core/.* font/.* user/.* viewer/.* image/.* backends/desktop/.* backends/sdl/.*"
    "platform/backends/win32/.* core/.* font/.* user/.* viewer/.* image/.* backends/desktop/.* backends/win32/.*"
    "platform/backends/web/.* core/.* font/.* user/.* viewer/.* image/.* backends/web/.*")

function(korveline_check_layers)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR}
       ${CMAKE_SOURCE_DIR}/base/*.[hc]* ${CMAKE_SOURCE_DIR}/shell/*.[hc]*
       ${CMAKE_SOURCE_DIR}/model/*.[hc]*
       ${CMAKE_SOURCE_DIR}/drawing/*.[hc]* ${CMAKE_SOURCE_DIR}/panels/*.[hc]*
       ${CMAKE_SOURCE_DIR}/platform/*.[hc]*)
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
