# Installation rules and the Debian package: the tool, its command line, the simulator, the
# desktop entry and the icon (the SVG and PNGs rendered from it at build time).
#   cmake --install BUILD --prefix DIR      or      (cd BUILD && cpack -G DEB)

# A sanitizer build needs the sanitizer runtimes at run time: never a package to ship.
if(ZORV_SANITIZE OR ZORV_TSAN)
  message(STATUS "Packaging is off in sanitizer builds")
  return()
endif()

find_package(Qt6 COMPONENTS Gui Svg)
if(NOT Qt6Svg_FOUND)
  message(WARNING "Qt 6 Svg (qt6-svg-dev) not found: no icons, no install rules, no package")
  return()
endif()

include(GNUInstallDirs)

add_executable(zorvtrim-icons ${PROJECT_SOURCE_DIR}/packaging/IconRender.cpp)
target_link_libraries(zorvtrim-icons PRIVATE Qt6::Gui Qt6::Svg)
zorv_warnings(zorvtrim-icons)

set(ZORV_ICON_SIZES 16 22 24 32 48 64 128 256)
set(zorv_icon_svg ${PROJECT_SOURCE_DIR}/packaging/zorvtrim.svg)
set(zorv_icon_dir ${PROJECT_BINARY_DIR}/packaging/icons)
set(zorv_icon_pngs)
foreach(size IN LISTS ZORV_ICON_SIZES)
  list(APPEND zorv_icon_pngs ${zorv_icon_dir}/${size}x${size}/apps/zorvtrim.png)
endforeach()
add_custom_command(
  OUTPUT ${zorv_icon_pngs}
  COMMAND zorvtrim-icons ${zorv_icon_svg} ${zorv_icon_dir} ${ZORV_ICON_SIZES}
  DEPENDS zorvtrim-icons ${zorv_icon_svg}
  COMMENT "Rendering the ZorvTrim icon"
  VERBATIM)
add_custom_target(zorvtrim_icons ALL DEPENDS ${zorv_icon_pngs})

install(TARGETS zorvtrim zorvtrim-cli zorv-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/zorvtrim.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# Keeps the modem manager off the usual USB serial adapters and sets the FTDI latency to 1 ms.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/60-zorvtrim-serial.rules
        DESTINATION lib/udev/rules.d)
# The shop administrator's one-time script for a shared history register.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/register-setup.sql
        DESTINATION ${CMAKE_INSTALL_DATADIR}/zorvtrim)
install(FILES ${zorv_icon_svg} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size IN LISTS ZORV_ICON_SIZES)
  install(FILES ${zorv_icon_dir}/${size}x${size}/apps/zorvtrim.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zorvtrim)
set(CPACK_PACKAGE_VENDOR "Dravik Controls")
set(CPACK_PACKAGE_CONTACT "Dravik Controls <support@dravik-controls.invalid>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Dravik Controls <support@dravik-controls.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration and trim tool for snow-plow valve controllers")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "ZorvTrim reads and writes the settings of the hydraulic valve controllers of\n"
    "snow-plow trucks over a serial link, drives a valve output live while trims\n"
    "are set, saves switch files, prints a settings report and installs controller\n"
    "firmware. zorvtrim-cli does the same link and file work from scripts, for\n"
    "fleets and test benches. Also installs zorv-sim, a controller simulator on a\n"
    "pseudo-terminal.")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
# dpkg-shlibdeps finds the Qt libraries; the window needs a platform plugin and the history its
# SQL drivers, SQLite and PostgreSQL (plugins, not linked libraries), and the report needs a font
# with the letter widths of Courier New.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, libqt6sql6-sqlite, libqt6sql6-psql, fonts-liberation")
include(CPack)
