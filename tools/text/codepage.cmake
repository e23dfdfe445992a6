# add_codepage_file(<output> <source> CODEPAGE <950|936|1252> [CRLF] [MAX_LINE <bytes>])
# Texts (and .rc files) are kept as UTF-8 in the sources; this converts one at build time to the
# ANSI code page Windows reads it in: 950 (Big5) for Traditional Chinese, 936 (GBK) for
# Simplified, 1252 for English. Characters the code page lacks fail the build. CRLF ends every
# line in CR LF. MAX_LINE fails the build when a converted line, with its end, is not shorter.
# A converted .rc file names its code page itself with #pragma code_page(950); the build refuses
# characters whose double-byte form the resource compiler would misread as an escape.
# Relative paths: output in the current binary folder, source in the current source folder.
# The caller lists <output> among the sources or DEPENDS of one of its targets.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
# Cached, so the function works in every folder, not only in the one that included this file.
set(ADD_CODEPAGE_FILE_PYTHON ${Python3_EXECUTABLE} CACHE INTERNAL "")
set(ADD_CODEPAGE_FILE_TOOL ${CMAKE_CURRENT_LIST_DIR}/convert_codepage.py CACHE INTERNAL "")

function(add_codepage_file output source)
  cmake_parse_arguments(ARG "CRLF" "CODEPAGE;MAX_LINE" "" ${ARGN})
  if(NOT ARG_CODEPAGE)
    message(FATAL_ERROR "add_codepage_file(${output}): CODEPAGE missing")
  endif()
  cmake_path(ABSOLUTE_PATH output BASE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR})
  set(options)
  if(ARG_CRLF)
    list(APPEND options --crlf)
  endif()
  if(ARG_MAX_LINE)
    list(APPEND options --max-line ${ARG_MAX_LINE})
  endif()
  cmake_path(GET output PARENT_PATH folder)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${ADD_CODEPAGE_FILE_PYTHON} ${ADD_CODEPAGE_FILE_TOOL} --codepage ${ARG_CODEPAGE} ${options} ${source} ${output}
    DEPENDS ${source} ${ADD_CODEPAGE_FILE_TOOL}
    COMMENT "Converting ${source} to code page ${ARG_CODEPAGE}"
    VERBATIM)
endfunction()
