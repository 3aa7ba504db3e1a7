# What `cmake --install` puts beside the binary, and the Debian package made
# from it with CPack (`make package`, or `cpack -G DEB` in a build folder):
#   bin/zelvane
#   share/man/man1/zelvane.1.gz    doc/zelvane.1, compressed when installed
#   share/doc/zelvane/README.md
#   share/doc/zelvane/CONTRIBUTING.md
#   share/doc/zelvane/doc/*.md     the pages the README links to, and the
#   share/doc/zelvane/doc/*.png    house's picture: the tree's layout, so
#                                  that the links hold
#   share/doc/zelvane/changelog.gz doc/changelog, compressed when installed
#   share/doc/zelvane/copyright    LICENSE: the MIT licence and the third-party notices
#   share/mime/packages/zelvane.xml     the type model/x-mag5 of MAG5 files
#   share/thumbnailers/zelvane.thumbnailer
#                                  file managers' pictures of them, through
#                                  zelvane --thumbnail

if(NOT WIN32)
  find_program(ZELVANE_GZIP gzip REQUIRED)
  # Compressed at install time, so that an install after building the
  # converter alone (--target zelvane) has them too, always from the current
  # sources.
  set(ZELVANE_DOC_BINARY ${PROJECT_BINARY_DIR}/doc)
  install(CODE "
    set(ZELVANE_DOC_SOURCE \"${PROJECT_SOURCE_DIR}/doc\")
    set(ZELVANE_DOC_BINARY \"${ZELVANE_DOC_BINARY}\")
    set(ZELVANE_GZIP \"${ZELVANE_GZIP}\")
    set(ZELVANE_VERSION \"${PROJECT_VERSION}\")
  ")
  install(SCRIPT ${CMAKE_CURRENT_LIST_DIR}/CompressDocs.cmake)
  install(FILES ${ZELVANE_DOC_BINARY}/zelvane.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${ZELVANE_DOC_BINARY}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/CONTRIBUTING.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/doc/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/doc
  FILES_MATCHING PATTERN "*.md" PATTERN "*.png")
# A stripped install (cpack, cmake --install --strip) also drops the
# compilers' notes, as Debian's own packages do.
if(NOT WIN32 AND CMAKE_STRIP)
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/zelvane\" COMMAND_ERROR_IS_FATAL ANY)
    endif()
  ")
endif()
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME copyright)
# The desktop's type of MAG5 files and its thumbnailer for them; Debian's
# shared-mime-info updates its database through a trigger when the package
# is installed.
if(NOT WIN32)
  install(FILES ${PROJECT_SOURCE_DIR}/desktop/zelvane.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
  install(FILES ${PROJECT_SOURCE_DIR}/desktop/zelvane.thumbnailer DESTINATION ${CMAKE_INSTALL_DATADIR}/thumbnailers)
endif()

# The Windows build goes into a zip instead (make package-windows).
if(WIN32)
  return()
endif()

set(ZELVANE_PACKAGE_MAINTAINER "Zelvane developers <developers@zelvane.example.org>"
  CACHE STRING "The Maintainer field of the Debian package")

set(CPACK_PACKAGE_NAME zelvane)
set(CPACK_PACKAGE_VENDOR "Zelvane developers")
set(CPACK_PACKAGE_CONTACT "${ZELVANE_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "converter of MAG5 game models to OBJ, XML scenes and glTF")
# Lines as the control file shows them (CPack indents them and turns an empty
# line into " .").
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Zelvane converts polygon models in the MAG5 binary format, the model\n"
  "format of the game Darvonelle, into a Wavefront OBJ file with an MTL\n"
  "material library, an XML scene document for the Quazo renderer with one\n"
  "OBJ file per material, or glTF 2.0 (binary, or JSON with its buffer\n"
  "beside it). On the way it merges duplicate positions, normals and texture\n"
  "coordinates and sorts the polygons into material groups.\n"
  "\n"
  "It finds the images the models name as textures, letter case ignored,\n"
  "and converts PCX, BMP and TGA images to PNG. It converts one model,\n"
  "several into one, or every model of a folder tree on its own, on all\n"
  "cores. Damaged input ends in a one-line message, and a failed or\n"
  "interrupted run leaves every earlier output as it was.")
set(CPACK_PACKAGE_CHECKSUM SHA256)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The Depends line from the shared libraries the binary links, through
# dpkg-shlibdeps (package dpkg-dev).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

set(CPACK_GENERATOR DEB)
include(CPack)
