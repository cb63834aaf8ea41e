# The Debian package: `cpack -G DEB` in a configured tree (scripts/package does all of it).
# Library dependencies come from dpkg-shlibdeps; what is loaded at run time and not linked
# (Qt's platform and image plugins, the uaccess rule's udev, fonts) is named here.
set(CPACK_PACKAGE_NAME norvik)
set(CPACK_PACKAGE_VENDOR "Norvik")
set(CPACK_PACKAGE_CONTACT "Norvik <support@norvik.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Configuration utility for Norvik gaming mice, keyboard, pad and headset")
set(CPACK_PACKAGE_DESCRIPTION "Changes what the firmware of Norvik 400100 devices stores: DPI stages, \
polling rate, button and key assignments, macros, lighting, recoil compensation and headset audio \
settings, kept in profiles. Includes the norvikctl command-line companion and the udev rule that \
gives the logged-in user access to the devices.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "udev, xdg-utils, fonts-noto-core, fonts-noto-cjk, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_LIST_DIR}/debian/postinst)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
include(CPack)
