# SPDX-License-Identifier: MIT
# A Debian package of the installed program: cpack --config BUILD/CPackConfig.cmake
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "zefa-oru")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "ZeFa Oru developers")
set(CPACK_PACKAGE_CONTACT "ZeFa Oru developers <zefa-oru@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Batch file renamer with a Japanese interface")
# The long description in lines of at most 80 characters, as Debian wants them.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "ZeFa Oru renames many files in one run to names built from a common name, a"
    "zero-padded serial number and each file's own name, in one of eight orders. It"
    "shows a preview first, never overwrites a file and can write a restore file"
    "from which the whole run is undone.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The program ships without its debugging symbols.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${ZEFA_UPDATE_URL}")
# The libraries the program links come from dpkg-shlibdeps; the Qt platform plugins and
# the Japanese font are loaded at run time and are named here, as are the libraries, so
# that the package stays complete where shlibdeps finds less.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6widgets6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6network6 (>= 6.4), libqt6core6 (>= 6.4), qt6-qpa-plugins, libcurl4, libicu72, libexiv2-27, libtag1v5, fonts-ipafont-gothic, qt6-translations-l10n")
include(CPack)
