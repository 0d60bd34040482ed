# Installs KORVELINE as a desktop program (programs, menu entry, icons, manual pages) and lets CPack
# build a Debian package from the same rules: `cpack -G DEB` in the build folder.
include(GNUInstallDirs)

if(TARGET korveline)
  install(TARGETS korveline RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(TARGETS korveline-script RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${CMAKE_SOURCE_DIR}/data/korveline.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

# Sizes desktops look up in the hicolor theme; scripts/make-icons.sh makes them.
foreach(size 16 32 48 64 128 256)
  install(FILES ${CMAKE_SOURCE_DIR}/data/icons/korveline-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME korveline.png)
endforeach()

# Debian ships manual pages and changelogs gzipped; -n keeps the archive free of timestamps.
find_program(KORVELINE_GZIP gzip)
function(korveline_gzip source compressed comment)
  get_filename_component(directory ${compressed} DIRECTORY)
  add_custom_command(
    OUTPUT ${compressed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${directory}
    COMMAND ${KORVELINE_GZIP} -9 -n -c ${source} > ${compressed}
    DEPENDS ${source}
    COMMENT "${comment}"
    VERBATIM)
endfunction()

# Section 1: both are ordinary commands installed in bin/; section 6 goes with games/.
foreach(page korveline.1 korveline-script.1)
  set(source ${CMAKE_SOURCE_DIR}/data/${page})
  if(KORVELINE_GZIP)
    set(compressed ${CMAKE_CURRENT_BINARY_DIR}/man/${page}.gz)
    korveline_gzip(${source} ${compressed} "Compressing manual page ${page}")
    list(APPEND korveline_man_pages ${compressed})
  else()
    list(APPEND korveline_man_pages ${source})
  endif()
endforeach()
add_custom_target(korveline-man ALL DEPENDS ${korveline_man_pages})
install(FILES ${korveline_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(FILES ${CMAKE_SOURCE_DIR}/LICENSE
        DESTINATION ${CMAKE_INSTALL_DOCDIR}
        RENAME copyright)

# The package's own changelog, in Debian's format, where Debian keeps it (a native package's
# changelog.gz). Its first entry names the project's version.
set(korveline_changelog ${CMAKE_SOURCE_DIR}/data/changelog.Debian)
file(STRINGS ${korveline_changelog} korveline_changelog_top LIMIT_COUNT 1)
if(NOT korveline_changelog_top MATCHES "^korveline \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "data/changelog.Debian: the first entry is not for ${PROJECT_VERSION}")
endif()
if(KORVELINE_GZIP)
  set(korveline_changelog_gz ${CMAKE_CURRENT_BINARY_DIR}/doc/changelog.gz)
  korveline_gzip(${korveline_changelog} ${korveline_changelog_gz}
                 "Compressing the package's changelog")
  add_custom_target(korveline-changelog ALL DEPENDS ${korveline_changelog_gz})
  install(FILES ${korveline_changelog_gz} DESTINATION ${CMAKE_INSTALL_DOCDIR})
else()
  install(FILES ${korveline_changelog} DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME changelog)
endif()
install(FILES ${CMAKE_SOURCE_DIR}/platform/font/LICENSE-LiberationSans.txt
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_PACKAGE_NAME korveline)
set(CPACK_PACKAGE_VENDOR "KORVELINE developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "teaching simulation of a three-phase induction motor")
# Lines as Debian's control file shows them (CPack indents each one).
string(
  CONCAT CPACK_PACKAGE_DESCRIPTION
         "KORVELINE shows students how a three-phase induction motor works. Three\n"
         "stator coils make pulsating fields that add up to one rotating field; the\n"
         "rotor is carried along by the Laplace forces on its conductors and runs up\n"
         "to just below synchronous speed, while a plot traces the torque against the\n"
         "speed and the operating point settles on the brake torque the user sets.\n"
         "Everything is done with the mouse; the keyboard pauses, slows down and\n"
         "zooms the picture.\n"
         "\n"
         "The package also holds korveline-script, which runs the simulation from a\n"
         "script without a display and saves pictures of it.")
# Debian wants a name and an address; packagers building their own set theirs.
set(KORVELINE_MAINTAINER "The KORVELINE developers <korveline@example.org>"
    CACHE STRING "The .deb's Maintainer: a name and an e-mail address")
set(CPACK_PACKAGE_CONTACT ${KORVELINE_MAINTAINER})
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${KORVELINE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps (dpkg-dev) reads the libraries the programs link and names their packages.
# Without it CPack quietly makes a package with no dependencies, so cpack stops instead.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/CPackProjectConfig.cmake)
file(
  WRITE ${CPACK_PROJECT_CONFIG_FILE}
  [=[
if(CPACK_GENERATOR STREQUAL "DEB")
  find_program(KORVELINE_DPKG_SHLIBDEPS dpkg-shlibdeps)
  if(NOT KORVELINE_DPKG_SHLIBDEPS)
    message(FATAL_ERROR "dpkg-shlibdeps not found: install dpkg-dev to build the .deb")
  endif()
endif()
]=])

include(CPack)
