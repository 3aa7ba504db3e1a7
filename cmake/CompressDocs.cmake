# Install step (see Packaging.cmake): compresses the manual page and the
# changelog with `gzip -9n`, as Debian wants them, after checking that the
# version each one names is the project's.
#   ZELVANE_DOC_SOURCE   the doc/ folder: zelvane.1 and changelog
#   ZELVANE_DOC_BINARY   where the .gz files go, in the build folder
#   ZELVANE_GZIP         the gzip program
#   ZELVANE_VERSION      the project version

# check_version FILE LINE_REGEX: the first line matching LINE_REGEX, whose
# first group is a version, must name the project's.
function(check_version file line_regex)
  file(STRINGS "${file}" lines REGEX "${line_regex}")
  list(LENGTH lines count)
  if(count EQUAL 0)
    message(FATAL_ERROR "${file}: no line that names the version")
  endif()
  list(GET lines 0 line)
  string(REGEX MATCH "${line_regex}" line "${line}")
  if(NOT CMAKE_MATCH_1 STREQUAL ZELVANE_VERSION)
    message(FATAL_ERROR "${file} is for version ${CMAKE_MATCH_1}, the project is ${ZELVANE_VERSION}: "
      "update it")
  endif()
endfunction()

check_version("${ZELVANE_DOC_SOURCE}/zelvane.1" "^\\.TH .*\"zelvane ([^\"]*)\"")
check_version("${ZELVANE_DOC_SOURCE}/zelvane.1" "Converter \\[R([0-9.]*)\\]")
check_version("${ZELVANE_DOC_SOURCE}/changelog" "^zelvane \\(([^)]*)\\)")

file(MAKE_DIRECTORY "${ZELVANE_DOC_BINARY}")
foreach(name zelvane.1 changelog)
  execute_process(COMMAND "${ZELVANE_GZIP}" -9 -n -c "${ZELVANE_DOC_SOURCE}/${name}"
    OUTPUT_FILE "${ZELVANE_DOC_BINARY}/${name}.gz" RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "gzip of ${ZELVANE_DOC_SOURCE}/${name} failed: ${status}")
  endif()
endforeach()
