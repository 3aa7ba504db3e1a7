# Header libraries from Debian's packages, given to the compiler through a
# folder of their own in the build tree that holds only them: the MinGW
# cross compiler must not search /usr/include, where the Linux system's
# headers are.
#
#   zelvane_third_party_headers(VAR header-or-folder...)
#
# finds each name in /usr/include, links it into <build>/third_party and
# sets VAR to that folder.
function(zelvane_third_party_headers var)
  set(folder ${PROJECT_BINARY_DIR}/third_party)
  file(MAKE_DIRECTORY ${folder})
  foreach(name IN LISTS ARGN)
    find_path(ZELVANE_HEADER_${name} ${name} PATHS /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
    if(NOT ZELVANE_HEADER_${name})
      message(FATAL_ERROR "${name} not found in /usr/include: install the Debian packages libtinyobjloader-dev, "
        "libtinygltf-dev and nlohmann-json3-dev\n  sudo apt-get install libtinyobjloader-dev libtinygltf-dev nlohmann-json3-dev")
    endif()
    file(CREATE_LINK ${ZELVANE_HEADER_${name}}/${name} ${folder}/${name} SYMBOLIC)
  endforeach()
  set(${var} ${folder} PARENT_SCOPE)
endfunction()
