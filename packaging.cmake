# `make package`: a Debian package whose Depends dpkg-shlibdeps works out from
# the program's own libraries.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvik)
set(CPACK_PACKAGE_VENDOR "The Tarvik team")
set(CPACK_PACKAGE_CONTACT "The Tarvik team <tarvik@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "knight's move puzzle on a chequered board")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Lead a knight over an 8x8 board by clicking squares: jump freely, or tour\n the whole board without entering a square twice. The interface is in Russian.")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core, qt6-translations-l10n")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
include(CPack)
