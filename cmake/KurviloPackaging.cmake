# SPDX-License-Identifier: MIT
# The Debian packages: `cpack -G DEB` in a build folder makes two from the install rules'
# components, each installable alone:
#   kurvilo       the window (component "window"): kurvilo_<version>_amd64.deb
#   kurvilo-cli   the command-line tool (component "cli"): kurvilo-cli_<version>_amd64.deb
# Their shared-library dependencies come from dpkg-shlibdeps; what it cannot see is below, one
# place per package.

set(CPACK_PACKAGE_NAME kurvilo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Kurvilo developers")
set(CPACK_PACKAGE_CONTACT "The Kurvilo developers <developers@kurvilo.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL ${PROJECT_HOMEPAGE_URL})
# Each package's summary is the first line of its own description below; empty here, CPack puts
# no common one above them.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL)
if(KURVILO_BUILD_GUI)
    list(APPEND CPACK_COMPONENTS_ALL window)
endif()
if(KURVILO_BUILD_CLI)
    list(APPEND CPACK_COMPONENTS_ALL cli)
endif()

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

# The window.
set(CPACK_DEBIAN_WINDOW_PACKAGE_NAME kurvilo)
# Every caption is Japanese, so the window needs a Japanese font; Qt's own dialogs need their
# translations. Neither is a shared library, so dpkg-shlibdeps cannot find them.
set(CPACK_DEBIAN_WINDOW_PACKAGE_DEPENDS "fonts-ipafont-gothic, qt6-translations-l10n")
# Qt's Wayland plugin, for a Wayland desktop (else the window runs through XWayland).
set(CPACK_DEBIAN_WINDOW_PACKAGE_RECOMMENDS "qt6-wayland")
string(JOIN "\n" CPACK_DEBIAN_WINDOW_DESCRIPTION
       "animates the motion of a point from equations you type in"
       "Kurvilo animates the motion of a point. In the motion modes you give the"
       "acceleration, Cartesian or polar, as formulas, and Kurvilo integrates the"
       "equations of motion step by step; in the curve modes you give y = f(x) or"
       "r = f(θ) and it traces the curve. Every number is a decimal with exactly"
       "four decimals. This package holds the window; kurvilo-cli is the tool"
       "for the command line.")

# The command-line tool: only the libraries dpkg-shlibdeps finds (libpng, giflib, the C++
# runtime); no Qt, X11 or GL.
set(CPACK_DEBIAN_CLI_PACKAGE_NAME kurvilo-cli)
set(CPACK_DEBIAN_CLI_PACKAGE_DEPENDS "")
set(CPACK_DEBIAN_CLI_PACKAGE_RECOMMENDS "")
string(JOIN "\n" CPACK_DEBIAN_CLI_DESCRIPTION
       "evaluates Kurvilo's formulas and runs its animations without a display"
       "kurvilo-cli evaluates the formulas of Kurvilo exactly as its window does,"
       "with every step explained when asked, and runs whole animations without a"
       "display, to a trace of the values, PNG and BMP pictures, numbered frames"
       "and looping GIF animations. Every number is a decimal with exactly four"
       "decimals. It needs no graphical libraries.")

include(CPack)
