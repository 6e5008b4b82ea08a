# SPDX-License-Identifier: MIT
# The Debian package: `cpack -G DEB` in a build folder makes kurvilo_<version>_amd64.deb from
# the install rules, with the shared-library dependencies computed by dpkg-shlibdeps.

set(CPACK_PACKAGE_NAME kurvilo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Kurvilo developers")
set(CPACK_PACKAGE_CONTACT "The Kurvilo developers <developers@kurvilo.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "animates the motion of a point from equations you type in")
set(CPACK_PACKAGE_HOMEPAGE_URL ${PROJECT_HOMEPAGE_URL})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Every caption is Japanese, so the window needs a Japanese font; Qt's own dialogs need their
# translations. Neither is a shared library, so dpkg-shlibdeps cannot find them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, qt6-translations-l10n")
# Qt's Wayland plugin, for a Wayland desktop (else the window runs through XWayland).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
# One paragraph, wrapped for the control file; CPack puts the summary above it.
string(JOIN "\n" CPACK_DEBIAN_PACKAGE_DESCRIPTION
       "Kurvilo animates the motion of a point. In the motion modes you give the"
       "acceleration, Cartesian or polar, as formulas, and Kurvilo integrates the"
       "equations of motion step by step; in the curve modes you give y = f(x) or"
       "r = f(θ) and it traces the curve. Every number is a decimal with exactly"
       "four decimals. kurvilo-cli evaluates formulas and runs whole animations"
       "without a display, to a trace, pictures and GIF animations.")

include(CPack)
