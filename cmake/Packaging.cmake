# Installation extras and the Debian package: `cpack -G DEB` in the build folder
# (scripts/package). The package's dependencies come from dpkg-shlibdeps, and the
# programs go in stripped.

# A release installation carries no debugging symbols: `cmake --install` strips the
# programs as `cmake --install --strip` would (other build types keep them).
if(CMAKE_BUILD_TYPE MATCHES "^(Release|MinSizeRel)$")
    foreach(program orvantis orvantis-service)
        install(CODE "execute_process(COMMAND \"${CMAKE_STRIP}\"
                      \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program}\")")
    endforeach()
    install(CODE "execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded
                  \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/orvantis/liborvantis-hamlib.so.${PROJECT_VERSION}\")")
endif()

set(ORVANTIS_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/orvantis)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION ${ORVANTIS_DOC_DIR})
# Debian keeps changelogs compressed, reproducibly (no name or time in the header).
# Made when configuring, so an installation after building the program alone has it.
set(ORVANTIS_CHANGELOG_GZ ${PROJECT_BINARY_DIR}/changelog.gz)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog)
execute_process(COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/packaging/changelog
                OUTPUT_FILE ${ORVANTIS_CHANGELOG_GZ} COMMAND_ERROR_IS_FATAL ANY)
install(FILES ${ORVANTIS_CHANGELOG_GZ} DESTINATION ${ORVANTIS_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvantis)
set(CPACK_PACKAGE_VENDOR "The Orvantis developers")
set(CPACK_PACKAGE_CONTACT "The Orvantis developers <orvantis@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "point an antenna rotator at an azimuth")
set(CPACK_PACKAGE_DESCRIPTION "Orvantis points a radio amateur's antenna rotator at a requested azimuth.
One small window shows the target on a seven-segment display and a compass
rose; type it, step it, pick a favourite, turn to the long path, or let a
contest logger (UDP), a desktop azimuth server (D-Bus) or any Hamlib program
(rotctld protocol) steer it. It drives seven serial controllers (GS-232,
EasyComm, TrakBox, ProSisTel, DCU-1, M2-ORION, EGIS), two parallel-port boxes
through ppdev, and two outside rotator programs.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://orvantis.example.org/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so dpkg-shlibdeps cannot see them: Qt's display plugins,
# the sounds (without libcanberra Orvantis beeps instead), the Wayland plugin and
# Qt's own French texts (without them, X11 only and standard buttons in English).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libcanberra0, sound-theme-freedesktop, qt6-wayland, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/packaging/CompressManualPages.cmake)
include(CPack)
