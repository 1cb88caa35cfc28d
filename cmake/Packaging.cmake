# A Debian package of the installed layout: `cpack -G DEB` in the build folder makes
# noltace_<version>_<arch>.deb, whose Depends dpkg-shlibdeps works out from the
# programs' libraries (Qt 6, SDL2, libpng...).
set(CPACK_PACKAGE_NAME noltace)
set(CPACK_PACKAGE_VENDOR "The NoltACE developers")
set(CPACK_PACKAGE_CONTACT "The NoltACE developers <noltace@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Jupiter Ace emulator")
set(CPACK_PACKAGE_DESCRIPTION "NoltACE emulates the Jupiter Ace, the 1982 Z80 home computer \
whose ROM boots into FORTH. It loads tapes, snapshots and spool text, plays the speaker and \
the AY sound chip, and has a debugger built in. The Ace ROM is not included.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its platform plugins (xcb, wayland) at run time, so no library check sees them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_STRIP_FILES ON)
include(CPack)
