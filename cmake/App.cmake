# The application: plain Win32 code. On Windows it builds against the real <windows.h>; elsewhere
# against our platform layer, whose include directory provides <windows.h>.
set(KORVELINE_APP_SOURCES
    shell/globals.cpp
    shell/textes.cpp
    shell/primitives.cpp
    shell/main.cpp
    shell/wndproc.cpp
    shell/souris.cpp
    shell/zones.cpp
    model/alim.cpp
    model/mas.cpp
    drawing/masdessin_bobines.cpp
    drawing/masdessin_champs.cpp
    drawing/masdessin_rotor.cpp
    panels/frein.cpp
    panels/courbe.cpp
    panels/central.cpp
    panels/mode_emploi.cpp
)
add_library(korveline_app STATIC ${KORVELINE_APP_SOURCES})
target_include_directories(korveline_app PUBLIC ${CMAKE_SOURCE_DIR})
korveline_warnings(korveline_app)
if(NOT WIN32)
  target_link_libraries(korveline_app PUBLIC korveline_platform)
endif()
