# What `cmake --install` puts where, the uninstall target, and the Debian package (cpack -G DEB).
# Programs go to bin/, their data files to share/varnel/ (the program looks there when its own
# folder holds none), and the desktop's files to the places freedesktop names.
include(GNUInstallDirs)

set(VARNEL_DATA ${CMAKE_SOURCE_DIR}/data)
install(TARGETS varnel varnel-cli varnel-thumbnailer RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS varnel-loader RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${VARNEL_DATA}/menu.png ${VARNEL_DATA}/toolbar.png ${VARNEL_DATA}/PICTURES-LICENSE
        DESTINATION ${CMAKE_INSTALL_DATADIR}/varnel)
install(FILES ${CMAKE_BINARY_DIR}/src/cli/inet.dat DESTINATION ${CMAKE_INSTALL_DATADIR}/varnel)
install(FILES ${VARNEL_DATA}/varnel.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${VARNEL_DATA}/varnel.thumbnailer DESTINATION ${CMAKE_INSTALL_DATADIR}/thumbnailers)
install(FILES ${VARNEL_DATA}/varnel-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME varnel.xml)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${VARNEL_DATA}/icons/varnel-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME varnel.png)
endforeach()
install(FILES ${VARNEL_DATA}/icons/varnel.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The manual pages: varnel(1) by hand, varnel-cli(1) made from the program's own --help text.
set(VARNEL_CLI_MANPAGE ${CMAKE_BINARY_DIR}/varnel-cli.1)
add_custom_command(
  OUTPUT ${VARNEL_CLI_MANPAGE}
  COMMAND ${VARNEL_DATA}/man/make-cli-manpage $<TARGET_FILE:varnel-cli> ${PROJECT_VERSION}
          > ${VARNEL_CLI_MANPAGE}
  DEPENDS varnel-cli ${VARNEL_DATA}/man/make-cli-manpage
  VERBATIM)
add_custom_target(manpages ALL DEPENDS ${VARNEL_CLI_MANPAGE})
install(FILES ${VARNEL_DATA}/man/varnel.1 ${VARNEL_CLI_MANPAGE}
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The desktop's caches are refreshed after a plain install; a staged install (a package being
# built, DESTINATION below DESTDIR) leaves that to the package manager's triggers.
install(CODE [[
  if(NOT "$ENV{DESTDIR}" AND NOT CMAKE_INSTALL_PREFIX MATCHES "_CPack_Packages")
    set(share "${CMAKE_INSTALL_PREFIX}/share")
    find_program(update_mime update-mime-database)
    find_program(update_desktop update-desktop-database)
    if(update_mime)
      execute_process(COMMAND ${update_mime} "${share}/mime" OUTPUT_QUIET ERROR_QUIET)
    endif()
    if(update_desktop)
      execute_process(COMMAND ${update_desktop} "${share}/applications" OUTPUT_QUIET ERROR_QUIET)
    endif()
  endif()
]])

configure_file(${CMAKE_SOURCE_DIR}/cmake/Uninstall.cmake.in ${CMAKE_BINARY_DIR}/Uninstall.cmake
               @ONLY)
add_custom_target(uninstall COMMAND ${CMAKE_COMMAND} -P ${CMAKE_BINARY_DIR}/Uninstall.cmake)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME varnel)
set(CPACK_PACKAGE_VENDOR "Tamberly")
set(CPACK_PACKAGE_CONTACT "Varnel developers <varnel@tamberly.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "icon collection tool")
set(CPACK_PACKAGE_DESCRIPTION
    "Finds icons and cursors in icon files, executables, libraries, pictures and archives,\n"
    "gathers them into one collection, and saves or exports them in every useful form.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# Loaded at run time, so dpkg-shlibdeps cannot see it: the plugins that connect Qt to a display.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# Loaded when a file first needs them, each for its own formats only (drawings, JPEG 2000,
# archives, WebP, X cursors, folder icons): recommended, so that a missing one costs its formats.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "librsvg2-2, libpoppler-glib8, libcairo2, libopenjp2-7, libarchive13, libwebp7, libwebpdemux2, libxcursor1, libglib2.0-0")
include(CPack)
