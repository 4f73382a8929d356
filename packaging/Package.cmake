# The Debian package, made by `cpack -G DEB` in a build folder configured
# with TILEMONT_PACKAGE (scripts/package does both). It holds everything the
# build installs: the programs, src/resources' desktop files, the editor's
# translations (share/tilemont/translations), and the files below. Run-time
# dependencies come from the shared libraries the programs actually link;
# what they load without linking it is named here.
include(GNUInstallDirs)

set(TILEMONT_PACKAGE_MAINTAINER "Brightquarry Software <packages@brightquarry.com>")

# Debian's own files about the package, beside the documentation.
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/tilemont)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright DESTINATION ${doc_dir})
# Its newest entry names the project's version (@PROJECT_VERSION@).
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog ${PROJECT_BINARY_DIR}/packaging/changelog @ONLY)
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/packaging/changelog.gz
  COMMAND sh -c "gzip -9 -n -c \"$1\" > \"$2\"" sh ${PROJECT_BINARY_DIR}/packaging/changelog
          ${PROJECT_BINARY_DIR}/packaging/changelog.gz
  DEPENDS ${PROJECT_BINARY_DIR}/packaging/changelog VERBATIM)
add_custom_target(tilemont-changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/packaging/changelog.gz)
install(FILES ${PROJECT_BINARY_DIR}/packaging/changelog.gz DESTINATION ${doc_dir})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME tilemont)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tilemont)
set(CPACK_PACKAGE_VENDOR "Brightquarry Software")
set(CPACK_PACKAGE_CONTACT "${TILEMONT_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for surface templates: textures laid into room photos")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TILEMONT_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.brightquarry.com/tilemont/")
# The summary goes first by itself; this is the text below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Tilemont edits surface templates: a photograph of a room in which areas
are outlined (a floor, a wall, a counter top) and a tile, stone or wood
texture is laid into each, placed by rotation, shift and scale and, for
surfaces seen at an angle, in true perspective found from the photograph's
straight lines. Templates export to BMP, GIF, JPEG, PNG and TIFF.
.
The package holds the editor, tilemont, and the command-line tool,
tilemont-cli, which exports, renders texture groups and makes the
thumbnails that file managers show for templates.")
# The libraries linked, as dpkg-shlibdeps finds them (needs dpkg-dev).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time without being linked: Qt's plugins for TIFF and WebP
# pictures and textures, Qt's own texts in the user's language (German
# dialogs), and the database that tells the desktop what a .tlm file is.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-image-formats-plugins, qt6-translations-l10n, shared-mime-info")
# Help opens the guide in the desktop's browser through xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
