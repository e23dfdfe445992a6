# Settings shared by every target of the project, and the helpers its folders use.

add_compile_options(-Wall -Wextra -Wno-unused-parameter)

if(WIN32)
  # The headers of Windows XP, whose functions every program may import (the 9x road looks up
  # what 95, 98 and Me lack), and a static runtime so that no libgcc, libstdc++ or libwinpthread
  # DLL has to stand beside them. Subsystem and OS version 4.0: a loader refuses an image whose
  # version is above its own, and the launcher must load on 95, 98, Me, NT 4 and 2000 to say
  # that it does not run there, as Sarrow must for its ASPI road.
  add_compile_definitions(_WIN32_WINNT=0x0501 WINVER=0x0501 _WIN32_IE=0x0600 NOMINMAX)
  add_link_options(-static
    -Wl,--major-subsystem-version,4,--minor-subsystem-version,0
    -Wl,--major-os-version,4,--minor-os-version,0)
  if(NOT WINDOWS_GTEST)
    # What ships is a release build: optimised, stripped of its symbols and debug sections, and
    # without the build's paths (__FILE__ in assertions and logs). RelWithDebInfo or Debug give a
    # flavour to debug with.
    set(release $<CONFIG:Release,MinSizeRel>)
    add_compile_options("$<$<AND:${release},$<COMPILE_LANGUAGE:C,CXX>>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=>"
                        "$<$<AND:${release},$<COMPILE_LANGUAGE:C,CXX>>:-ffile-prefix-map=${PROJECT_BINARY_DIR}/=>")
    add_link_options($<${release}:-s>)
    # -O2 as in the debug flavour, so both run the same code (GCC 12's -O3 also warns falsely
    # about overlapping copies in std::string).
    foreach(language IN ITEMS C CXX)
      string(REPLACE "-O3" "-O2" CMAKE_${language}_FLAGS_RELEASE "${CMAKE_${language}_FLAGS_RELEASE}")
    endforeach()
  endif()
  # Every Windows test runs under Wine through the harness, with the session of this build tree.
  set(CMAKE_CROSSCOMPILING_EMULATOR
      "${PROJECT_SOURCE_DIR}/tools/wine/run;--session;${PROJECT_BINARY_DIR}/wine")
elseif(SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

# add_subdirectories(a b c): the folders that exist; lets an area grow without touching its parent.
function(add_subdirectories)
  foreach(dir IN LISTS ARGN)
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()

# add_every_subdirectory(): every folder here that has a CMakeLists.txt, in name order; for areas
# whose folders do not refer to one another while configuring.
function(add_every_subdirectory)
  file(GLOB entries LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT entries)
  foreach(dir IN LISTS entries)
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()

# add_native_test(target SOURCES ... [LIBS ...]): a GoogleTest program of the host tree, one ctest
# entry per test case.
function(add_native_test target)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} GTest::gtest_main GTest::gmock)
  include(GoogleTest)
  gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120)
endfunction()

# The status with which tools/wine/probe, and through it the session and tools/wine/run, say that
# this machine runs no 32-bit programs: CTest counts such a test as skipped, never as passed. Each
# Wine test skips itself (a skipped fixture does not keep its dependants from running).
set(WINE_SKIP_STATUS 77)

# wine_test_properties(name TIMEOUT s): what every test that needs Wine shares.
function(wine_test_properties name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "" ${ARGN})
  set_tests_properties(${name} PROPERTIES
    FIXTURES_REQUIRED wine
    SKIP_RETURN_CODE ${WINE_SKIP_STATUS}
    TIMEOUT ${ARG_TIMEOUT}
    LABELS wine)
endfunction()

# add_wine_test(name COMMAND target [args...] [VERSION winxp|win98|...] [TIMEOUT s]
#               [LANGUAGE zh_TW] [RESOURCE_LOCK lock]):
# runs a Windows program under Wine in this tree's session. The Windows version is the one Wine
# reports to that program (AppDefaults). Where Wine cannot start for want of 32-bit programs the
# test is skipped; for any other reason it fails. A GoogleTest program that runs no test (a
# --gtest_filter that matches nothing) fails.
function(add_wine_test name)
  cmake_parse_arguments(ARG "" "VERSION;TIMEOUT;LANGUAGE;RESOURCE_LOCK;WORKING_DIRECTORY" "COMMAND" ${ARGN})
  if(NOT ARG_VERSION)
    set(ARG_VERSION winxp)
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  if(NOT ARG_WORKING_DIRECTORY)
    set(ARG_WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  endif()
  add_test(NAME ${name} COMMAND ${ARG_COMMAND} WORKING_DIRECTORY ${ARG_WORKING_DIRECTORY})
  set(env "WINE_VERSION=${ARG_VERSION}" "WINE_TIMEOUT=${ARG_TIMEOUT}")
  if(ARG_LANGUAGE)
    list(APPEND env "WINE_LANGUAGE=${ARG_LANGUAGE}")
  endif()
  wine_test_properties(${name} TIMEOUT ${ARG_TIMEOUT})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "${env}"
    FAIL_REGULAR_EXPRESSION "Running 0 tests from")
  if(ARG_RESOURCE_LOCK)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK ${ARG_RESOURCE_LOCK})
  endif()
endfunction()

# add_wine_script_test(name SCRIPT path [ARGS ...] [TIMEOUT s]): a host shell script that drives
# Windows programs under Wine itself (end-to-end scenarios); it gets the session in WINE_SESSION.
# It runs only where tools/wine/probe finds that Wine can start, and is skipped elsewhere.
function(add_wine_script_test name)
  cmake_parse_arguments(ARG "" "SCRIPT;TIMEOUT" "ARGS" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  add_test(NAME ${name} COMMAND ${PROJECT_SOURCE_DIR}/tools/wine/probe bash ${ARG_SCRIPT} ${ARG_ARGS})
  wine_test_properties(${name} TIMEOUT ${ARG_TIMEOUT})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "WINE_SESSION=${PROJECT_BINARY_DIR}/wine;WINE_RUN=${PROJECT_SOURCE_DIR}/tools/wine/run")
endfunction()

# add_generated_file(target FILE path SCRIPT script.py COMMENT text): the Python script beside
# the calling CMakeLists.txt writes the file `path` (its one argument) at build time, into a
# folder made first; `target` (built by default) stands for the file.
function(add_generated_file target)
  cmake_parse_arguments(ARG "" "FILE;SCRIPT;COMMENT" "" ${ARGN})
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  get_filename_component(folder ${ARG_FILE} DIRECTORY)
  add_custom_command(OUTPUT ${ARG_FILE}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_SCRIPT} ${ARG_FILE}
    DEPENDS ${ARG_SCRIPT}
    COMMENT "${ARG_COMMENT}"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${ARG_FILE})
endfunction()

# Sources include each other from the root: "core/fat/layout.h", "platform/dialogs/cwnd.h".
include_directories(${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR})

# add_carried_files(target ENTRIES TYPE NAME SOURCE [TYPE NAME SOURCE ...]): the program `target`
# carries each SOURCE (a target, whose built file is taken, or a file) as resource NAME of TYPE,
# byte for byte. The copies are made at build time, so a rebuilt tool is carried anew.
function(add_carried_files target)
  cmake_parse_arguments(ARG "" "" "ENTRIES" ${ARGN})
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/${target}_carried)
  set(lines "// Generated by add_carried_files(${target}); do not edit.\n")
  set(copies)
  list(LENGTH ARG_ENTRIES count)
  math(EXPR last "${count} - 1")
  foreach(i RANGE 0 ${last} 3)
    math(EXPR j "${i} + 1")
    math(EXPR k "${i} + 2")
    list(GET ARG_ENTRIES ${i} type)
    list(GET ARG_ENTRIES ${j} name)
    list(GET ARG_ENTRIES ${k} source)
    if(TARGET ${source})
      set(from $<TARGET_FILE:${source}>)
    else()
      set(from ${source})
    endif()
    set(copy ${dir}/${type}-${name}.bin)
    add_custom_command(OUTPUT ${copy}
      COMMAND ${CMAKE_COMMAND} -E copy ${from} ${copy}
      DEPENDS ${source}
      COMMENT "Carrying ${name} in ${target}"
      VERBATIM)
    string(APPEND lines "${name} ${type} \"${copy}\"\n")
    list(APPEND copies ${copy})
  endforeach()
  file(CONFIGURE OUTPUT ${dir}.rc CONTENT "${lines}" @ONLY)
  set_source_files_properties(${dir}.rc PROPERTIES OBJECT_DEPENDS "${copies}")
  target_sources(${target} PRIVATE ${dir}.rc)
endfunction()
