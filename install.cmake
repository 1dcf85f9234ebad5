# Installation and the Debian package:
#   cmake --install build/release --prefix /usr/local
#   (cd build/release && cpack -G DEB)
include(GNUInstallDirs)

install(TARGETS vorkle RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES resources/org.example.vorkle.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES resources/org.example.vorkle.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES resources/vorkle.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps)
install(FILES resources/vorkle@2x.png RENAME vorkle.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps)
install(TARGETS vorkle-devserver RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The manual pages, compressed at build time as Debian keeps them.
set(_vorkle_man_pages)
foreach(_page vorkle vorkle-devserver)
  set(_copy ${CMAKE_CURRENT_BINARY_DIR}/man/${_page}.1)
  add_custom_command(OUTPUT ${_copy}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/man/${_page}.1 ${_copy}
    COMMAND gzip -9nf ${_copy}
    DEPENDS man/${_page}.1
    COMMENT "Compressing the manual page ${_page}.1" VERBATIM)
  list(APPEND _vorkle_man_pages ${_copy}.gz)
endforeach()
add_custom_target(vorkle_man_pages ALL DEPENDS ${_vorkle_man_pages})
install(FILES ${_vorkle_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_PACKAGE_NAME "vorkle")
set(CPACK_PACKAGE_VENDOR "Vorkle")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Small TOC2 instant-messaging client with a local development server")
set(CPACK_PACKAGE_CONTACT "Vorkle developers <vorkle@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_DEBIAN_PACKAGE_SECTION "net")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The C and C++ runtimes and the Qt 6 runtime packages of Debian 12 that the
# programs link against (the same list dpkg-shlibdeps finds, with Qt held at 6.4),
# plus the SQLite driver and platform plugins that Qt loads at run time.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libc6 (>= 2.34), libgcc-s1 (>= 3.0), libstdc++6 (>= 11), libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6network6 (>= 6.4), libqt6multimedia6 (>= 6.4), libqt6sql6 (>= 6.4), libqt6sql6-sqlite (>= 6.4), qt6-qpa-plugins (>= 6.4), libqt6keychain1 (>= 0.13), libhunspell-1.7-0 (>= 1.7)")
# Spell checking uses whatever Hunspell dictionary is installed.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "hunspell-en-us | hunspell-dictionary")
include(CPack)
