# Install rules and the Debian package (`make deb`): the executable, the desktop entry,
# the icons, the AppStream metainfo, the manual page, the systemd user units and the
# README. Paths are relative to the install prefix: /usr in the package.
include(GNUInstallDirs)

set(SHOP_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(SHOP_GENERATED_DIR ${PROJECT_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${SHOP_GENERATED_DIR})

# The 256 px icon is rendered from the scalable one, so that the two never differ.
find_program(SHOP_RSVG_CONVERT rsvg-convert)
if(NOT SHOP_RSVG_CONVERT)
  message(FATAL_ERROR "rsvg-convert not found: run scripts/install-deps (package librsvg2-bin)")
endif()
add_custom_command(
  OUTPUT ${SHOP_GENERATED_DIR}/shopkeeper.png
  COMMAND ${SHOP_RSVG_CONVERT} --width=256 --height=256 --format=png
          --output=${SHOP_GENERATED_DIR}/shopkeeper.png ${SHOP_PACKAGING_DIR}/icons/shopkeeper.svg
  DEPENDS ${SHOP_PACKAGING_DIR}/icons/shopkeeper.svg
  COMMENT "Rendering the 256 px icon")

# The manual page carries the project version and is installed compressed, as Debian does.
configure_file(${SHOP_PACKAGING_DIR}/shopkeeper.1.in ${SHOP_GENERATED_DIR}/shopkeeper.1 @ONLY)
add_custom_command(
  OUTPUT ${SHOP_GENERATED_DIR}/shopkeeper.1.gz
  COMMAND gzip -9 --no-name --force --keep ${SHOP_GENERATED_DIR}/shopkeeper.1
  DEPENDS ${SHOP_GENERATED_DIR}/shopkeeper.1
  COMMENT "Compressing the manual page")

add_custom_target(shop_packaging_files ALL
  DEPENDS ${SHOP_GENERATED_DIR}/shopkeeper.png ${SHOP_GENERATED_DIR}/shopkeeper.1.gz)

install(TARGETS shopkeeper RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${SHOP_PACKAGING_DIR}/shopkeeper.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${SHOP_PACKAGING_DIR}/icons/shopkeeper.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${SHOP_GENERATED_DIR}/shopkeeper.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)
install(FILES ${SHOP_PACKAGING_DIR}/org.example.shopkeeper.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${SHOP_GENERATED_DIR}/shopkeeper.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

# systemd looks for user units under <prefix>/lib/systemd/user, never under a
# multiarch library folder, so the path is spelled out.
file(GLOB SHOP_SYSTEMD_UNITS CONFIGURE_DEPENDS
     ${SHOP_PACKAGING_DIR}/systemd/*.service ${SHOP_PACKAGING_DIR}/systemd/*.timer)
if(SHOP_SYSTEMD_UNITS)
  install(FILES ${SHOP_SYSTEMD_UNITS} DESTINATION lib/systemd/user)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME shopkeeper)
set(CPACK_PACKAGE_VENDOR "Shopkeeper maintainers")
set(CPACK_PACKAGE_CONTACT "Shopkeeper maintainers <maintainers@shopkeeper.example.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "search rankings, friend links and shop code for Taobao and Paipai sellers")
set(CPACK_PACKAGE_DESCRIPTION
    "A desktop tool for sellers on the Taobao and Paipai marketplaces: it finds on
which search result page and at which place each tracked item is listed, checks
whether the shops a shop links to link back, and generates shop page code. The
ranking check also runs from the command line and from a systemd user timer.

淘宝 拍拍 店长软件：排名查询、友情链接检测、店铺代码生成。排名查询也可以在命令行中
或由 systemd 用户定时器定时运行。")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://shopkeeper.example.org")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Chinese glyphs: the window draws every text in a CJK font. Appended to by shlibdeps.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei | fonts-noto-cjk")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
