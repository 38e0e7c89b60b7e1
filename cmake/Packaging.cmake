# A Debian package of what `cmake --install` lays out, under /usr: the program and its support
# library in lib/quillora, the translations beside them, the command in bin, the desktop entry
# and the MIME types of the message files. scripts/package builds it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillora)
set(CPACK_PACKAGE_VENDOR "Kestrelwright")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Reads, searches, prints and exports e-mail message files (.msg, .eml, .pst)")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quillora Pro developers <quillora@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION mail)
# The shared libraries the program links name their packages; the desktop tools it runs and
# the fonts its output is laid out with are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "xdg-utils, fonts-dejavu-core, fonts-liberation2")
include(CPack)
