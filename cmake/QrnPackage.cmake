# The Debian package: `cpack -G DEB` in a build folder (or its `package`
# target) writes quorantel_<version>_amd64.deb with whatever the install rules
# put in place, built as that folder is built (./build.sh package uses a
# Release build). Depends is worked out by dpkg-shlibdeps from the programs,
# plus what the editor only opens at run time: the General MIDI soundfont and
# the Japanese font.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorantel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The QUORANTEL authors")
set(CPACK_PACKAGE_CONTACT "${QRN_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QRN_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the editor loads at run time rather than links: the music's sound
# font, the Japanese font, the SVG plugins that draw the window icon and Qt's
# Japanese texts for the stock dialogs.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fluid-soundfont-gm, fonts-ipafont-gothic, libqt6svg6, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# The synopsis, then the long description in English and in Japanese.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "scenario editor for a tile-based role-playing game")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "QUORANTEL paints up to 100 tile fields on five layers (terrain, buildings,
events, items and characters), defines those objects and the shared
resources (comments, enemy groups, magics, special attacks, walk images,
music and sound effects), the hero and the level-up table, and saves
everything as one scenario file. Texts are Japanese.
.
The command-line tool quorantel-cli creates, inspects, checks and converts
scenario files in scripts, and writes the files the game runner reads.
.
タイルマップのRPGシナリオを作成・編集するエディタです。5つのレイヤーで
最大100枚のフィールドを描き、オブジェクト・リソース・主人公・レベルアップ表を
設定して1つのシナリオファイルに保存します。")

include(CPack)

# The package test builds the package from this build folder, unpacks it and
# runs what it holds. Not in sanitizer or fuzzing builds: a package of those
# programs means nothing.
if(NOT QRN_SANITIZE AND NOT QRN_FUZZ)
  set(tools_found TRUE)
  foreach(tool dpkg-deb dpkg-shlibdeps file lintian desktop-file-validate appstreamcli man bash)
    find_program(QRN_${tool}_PROGRAM ${tool})
    if(NOT QRN_${tool}_PROGRAM)
      set(tools_found FALSE)
    endif()
  endforeach()
  if(tools_found)
    add_test(NAME debian_package
             COMMAND bash ${CMAKE_SOURCE_DIR}/tests/package/deb_test.sh ${CMAKE_BINARY_DIR} ${PROJECT_VERSION} ${QRN_APP_ID})
    set_tests_properties(debian_package PROPERTIES TIMEOUT 900)
  else()
    message(STATUS "The Debian package test needs dpkg-dev, file, lintian, desktop-file-utils, appstream and man-db")
  endif()
endif()
