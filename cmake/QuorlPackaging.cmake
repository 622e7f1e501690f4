# Where `cmake --install` puts Quorl, and the Debian package `cpack -G DEB` makes of it: both
# programs, the desktop entry (so that file managers offer "Open with Quorl" for the five
# formats), the application icon in the hicolor theme and the AppStream metadata.
include(GNUInstallDirs)

install(TARGETS quorl quorl-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/${QUORL_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/${QUORL_APP_ID}.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/${QUORL_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(CPACK_PACKAGE_NAME quorl)
set(CPACK_PACKAGE_VENDOR "Quorl")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Tag editor for music files")
set(CPACK_PACKAGE_DESCRIPTION
  "Quorl edits the tags of MP3, M4A, FLAC, AIFF and WAV files, one at a time or across a
selection, manages their cover pictures, names files from tags and tags from file names.")
set(CPACK_PACKAGE_HOMEPAGE_URL ${QUORL_PROJECT_URL})
set(CPACK_PACKAGE_CONTACT "Quorl <quorl@example.org>")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
# The libraries the programs link, found by dpkg-shlibdeps; the platform, picture and media
# plugins are loaded at run time and named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6")
include(CPack)
