# The application: plain Win32 code, built against our platform layer, whose include directory
# provides <windows.h>; on Windows too, where the exe also builds its sources against the real
# <windows.h> for the checks (cmake/Windows.cmake).
#
# Its parts depend one way, and cmake/Layers.cmake fails the configure step on an include that
# goes against it:
#   korveline_base     base/: the palette's declarations and its looks, the line and point
#                      primitives, the picture's geometry, the truncation helper and the texts of
#                      each language
#   korveline_model    model/:   the supply and the motor model         (uses the base)
#   korveline_drawing  drawing/: the motor's cross-section              (uses the base)
#   korveline_panels   panels/:  brake, plot, central wipe, instructions (uses the base)
#   korveline_app      shell/: the scene objects and palette definitions, start-up, the window
#                      procedure and the mouse commands, above all the rest
set(KORVELINE_BASE_SOURCES base/primitives.cpp base/textes.cpp base/apparences.cpp)
set(KORVELINE_MODEL_SOURCES model/alim.cpp model/labo.cpp model/mas.cpp model/bilan.cpp
                            model/caracteristique.cpp model/stator.cpp model/machine.cpp
                            model/plaque.cpp model/unites.cpp model/demarrage.cpp)
set(KORVELINE_DRAWING_SOURCES drawing/masdessin_bobines.cpp drawing/masdessin_champs.cpp
                              drawing/masdessin_rotor.cpp drawing/numeros_phases.cpp)
set(KORVELINE_PANELS_SOURCES panels/frein.cpp panels/courbe.cpp panels/central.cpp
                             panels/mode_emploi.cpp)
set(KORVELINE_GLOBALS_SOURCES shell/globals.cpp)
set(KORVELINE_SHELL_SOURCES shell/main.cpp shell/wndproc.cpp shell/souris.cpp shell/zones.cpp
                            shell/changement_apparence.cpp shell/changement_langue.cpp
                            shell/suivi_reglages.cpp)
set(KORVELINE_APP_SOURCES ${KORVELINE_BASE_SOURCES} ${KORVELINE_MODEL_SOURCES}
                          ${KORVELINE_DRAWING_SOURCES} ${KORVELINE_PANELS_SOURCES}
                          ${KORVELINE_GLOBALS_SOURCES} ${KORVELINE_SHELL_SOURCES})

function(korveline_app_lib name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  korveline_warnings(${name})
  target_link_libraries(${name} PUBLIC korveline_platform)
endfunction()

korveline_app_lib(korveline_base ${KORVELINE_BASE_SOURCES})
foreach(part model drawing panels)
  string(TOUPPER ${part} PART)
  korveline_app_lib(korveline_${part} ${KORVELINE_${PART}_SOURCES})
  target_link_libraries(korveline_${part} PUBLIC korveline_base)
endforeach()
korveline_app_lib(korveline_app ${KORVELINE_SHELL_SOURCES})
target_link_libraries(korveline_app PUBLIC korveline_model korveline_drawing korveline_panels)
if(NOT WIN32)
  # For the tests and the fuzzers, which run the program many times in one process; a program
  # that does not call it links none of it.
  target_sources(korveline_app PRIVATE shell/etat_de_depart.cpp)
endif()

# The palette and the scene objects are defined together, in one file, because C++ orders static
# initialisation only within a file and the palette comes first. The parts below use the palette,
# so its object goes into every program that links the application, whatever that program calls.
add_library(korveline_globals OBJECT ${KORVELINE_GLOBALS_SOURCES})
target_link_libraries(korveline_globals PUBLIC korveline_model korveline_drawing korveline_panels)
korveline_warnings(korveline_globals)
target_sources(korveline_app INTERFACE $<TARGET_OBJECTS:korveline_globals>)

include(${CMAKE_CURRENT_LIST_DIR}/Layers.cmake)
