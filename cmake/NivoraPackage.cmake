# The Debian package, made by cpack (scripts/package.sh) from the install
# rules: what `cmake --install` puts in place, below /usr. Its version is
# the project's; its Depends are found by dpkg-shlibdeps from the libraries
# the program links, plus the Qt platform plugins no link names.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME nivora)
set(CPACK_PACKAGE_VENDOR "The Nivora developers")
set(CPACK_PACKAGE_CONTACT "The Nivora developers <developers@nivora.org>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # nivora_<version>_<architecture>.deb
set(CPACK_STRIP_FILES ON)

set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "companion of the MX4820 sound level meter")
set(CPACK_PACKAGE_DESCRIPTION
    "Nivora works with the MX4820 hand-held sound level meter over USB. It
mirrors the meter's display on a virtual front panel whose keys operate the
meter, samples the live level into a real-time graph, runs timed LEQ
measurements, downloads the meter's logger memory and LEQ records, erases it
and sets the meter up. Every data set opens in a graph window with cursors,
statistics, marks and zoom; graphs, data-set collections and tables are saved,
reopened and printed.

A udev rule lets the user at the desktop open the meter without root.
Started with --simulate the program runs on a simulated meter.")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its platform plugins (X11, Wayland) at run time: no window without them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
# Qt's own texts (standard buttons, dialogs) in the program's languages.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)

# The architecture of the build's target, as Debian names it; dpkg's own
# when the compiler does not say.
if(CMAKE_LIBRARY_ARCHITECTURE)
  find_program(NIVORA_DPKG_ARCHITECTURE dpkg-architecture)
  if(NIVORA_DPKG_ARCHITECTURE)
    execute_process(
      COMMAND ${NIVORA_DPKG_ARCHITECTURE} -t ${CMAKE_LIBRARY_ARCHITECTURE} -qDEB_HOST_ARCH
      OUTPUT_VARIABLE CPACK_DEBIAN_PACKAGE_ARCHITECTURE OUTPUT_STRIP_TRAILING_WHITESPACE
      ERROR_QUIET)
  endif()
endif()

# udev rereads its rules after install and removal.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${PROJECT_SOURCE_DIR}/dist/debian/postinst ${PROJECT_SOURCE_DIR}/dist/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
