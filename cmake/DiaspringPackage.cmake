# The Debian package, built by CPack from what `cmake --install` puts:
#   cmake --preset package && cmake --build --preset package && cpack --preset package
# gives build/package/diaspring_<version>_<arch>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME diaspring)
set(CPACK_PACKAGE_VENDOR "The diaspring developers")
set(CPACK_PACKAGE_CONTACT "The diaspring developers <maintainers@diaspring.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "design and check a clutch diaphragm spring")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${DIASPRING_HOMEPAGE_URL})
# The long description below the summary line; CPack indents it and marks
# the empty line as Debian's control files want.
set(CPACK_PACKAGE_DESCRIPTION "diaspring is a calculator for the engineer who designs the diaphragm spring
of a vehicle's dry friction clutch. From the sheet thickness, the cone
height, the radii, the wear allowance and the release travel it draws the
load-deflection characteristic of the spring (Almen-Laszlo), finds its
peak, valley and inflection and the working, worn-lining and release
points, checks the design against twelve rules, and analyses its strength,
release characteristic and fatigue. The chart is exported as PNG, SVG or
PDF, and a design sheet as PDF.

diaspring-cli runs the same calculation without the window, for scripts
and for parameter studies over many designs, and computes any disc spring.")
# The shared libraries' packages come from dpkg-shlibdeps; beside them the
# CJK font that the window, the chart and the design sheet are drawn with,
# and Qt's own translations for the standard dialogs in Chinese.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei, qt6-translations-l10n")
# No maintainer scripts: on Debian 12 the caches are refreshed by dpkg file
# triggers that the owners of the caches declare (interest-noawait), run when
# any package puts files into, or takes them out of, these folders:
#   /usr/share/applications     desktop-file-utils (update-desktop-database)
#   /usr/share/mime/packages    shared-mime-info (update-mime-database)
#   /usr/share/icons/hicolor    hicolor-icon-theme (gtk-update-icon-cache)
#   /usr/share/man              man-db (mandb)
# A postinst calling the tools as well would only do the work twice, and
# the tools need not be installed at all where no desktop reads the caches.

include(CPack)
