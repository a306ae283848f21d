# Helpers that keep the per-subsystem build uniform.
#
# Every subsystem under src/<name> becomes the static library orbisan_<name>,
# built from all of its .c/.cpp files (found again whenever a file is added).
# Headers are included relative to src/, e.g. "core/cmn/cmn_alrt.h".

set(ORBISAN_WARNINGS -Wall -Wextra -Werror)
# GCC 12 reports false -Wrestrict overlaps inside std::string's own copy when
# it optimises string concatenations (GCC bug 105329: "accessing
# 9223372036854775810 or more bytes ... may overlap"); the warning is off for
# that compiler only, so an optimised build compiles.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12
   AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  list(APPEND ORBISAN_WARNINGS -Wno-restrict)
endif()
set_property(GLOBAL PROPERTY ORBISAN_SUBSYSTEMS "")

function(orbisan_subsystem name)
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS
       ${CMAKE_SOURCE_DIR}/src/${name}/*.cpp ${CMAKE_SOURCE_DIR}/src/${name}/*.c)
  if(NOT srcs)
    return()
  endif()
  add_library(orbisan_${name} STATIC ${srcs})
  target_include_directories(orbisan_${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_compile_options(orbisan_${name} PRIVATE ${ORBISAN_WARNINGS})
  # liborbisan.so exports only what is marked ORB_API (orb_api.h).
  set_target_properties(orbisan_${name} PROPERTIES C_VISIBILITY_PRESET hidden
                        CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
  target_link_libraries(orbisan_${name} PUBLIC ${CMAKE_DL_LIBS} Threads::Threads m)
  if(EXISTS ${CMAKE_SOURCE_DIR}/src/${name}/deps.cmake)
    include(${CMAKE_SOURCE_DIR}/src/${name}/deps.cmake)
  endif()
  set_property(GLOBAL APPEND PROPERTY ORBISAN_SUBSYSTEMS orbisan_${name})
endfunction()

# liborbisan.so: every subsystem library, whole.
function(orbisan_shared_library)
  get_property(libs GLOBAL PROPERTY ORBISAN_SUBSYSTEMS)
  if(NOT libs)
    return()
  endif()
  file(WRITE ${CMAKE_BINARY_DIR}/orbisan_empty.cpp "// liborbisan.so is assembled from the subsystem libraries.\n")
  add_library(orbisan SHARED ${CMAKE_BINARY_DIR}/orbisan_empty.cpp)
  set_target_properties(orbisan PROPERTIES C_VISIBILITY_PRESET hidden
                        CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
  target_link_libraries(orbisan PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,${libs}>")
endfunction()

# ctest tests of the library as a whole (tests/lib): what liborbisan.so
# exports (no internal helpers, no mutable globals) and the core's layering.
function(orbisan_export_test)
  if(NOT TARGET orbisan)
    return()
  endif()
  add_test(NAME SharedLibrary.Exports
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/lib/orb_exports_check.sh
                   $<TARGET_FILE:orbisan> ${CMAKE_SOURCE_DIR}/src)
  # The core's modules include only the modules below them (loc below cmn).
  add_test(NAME CoreLayers.IncludesGoDownOnly
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/lib/orb_layers_check.sh ${CMAKE_SOURCE_DIR}/src)
endfunction()

# Each tests/<name>/**/*_test.cpp becomes its own executable (so one suite's
# build does not wait on another's); each test case is a ctest test.
# Other .cpp files under tests/<name>/ are shared helpers linked into every one.
function(orbisan_test_suite name)
  file(GLOB_RECURSE tests CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${name}/*_test.cpp)
  file(GLOB_RECURSE all CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${name}/*.cpp)
  set(helpers ${all})
  if(tests)
    list(REMOVE_ITEM helpers ${tests})
  endif()
  if(NOT tests OR NOT TARGET orbisan_${name})
    return()
  endif()
  if(helpers)
    add_library(testhelp_${name} STATIC ${helpers})
    target_include_directories(testhelp_${name} PUBLIC ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
    target_compile_options(testhelp_${name} PRIVATE ${ORBISAN_WARNINGS})
    target_link_libraries(testhelp_${name} PUBLIC orbisan_${name} GTest::gtest GTest::gmock)
  endif()
  foreach(t ${tests})
    get_filename_component(stem ${t} NAME_WE)
    set(exe ${name}_${stem})
    add_executable(${exe} ${t})
    target_include_directories(${exe} PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
    target_compile_options(${exe} PRIVATE ${ORBISAN_WARNINGS})
    target_link_libraries(${exe} PRIVATE orbisan_${name} GTest::gtest_main GTest::gmock)
    if(helpers)
      target_link_libraries(${exe} PRIVATE testhelp_${name})
    endif()
    orbisan_test_program(${exe})
  endforeach()
  # tests/<name>/deps.cmake may link the helpers to another suite's helpers.
  if(helpers AND EXISTS ${CMAKE_SOURCE_DIR}/tests/${name}/deps.cmake)
    include(${CMAKE_SOURCE_DIR}/tests/${name}/deps.cmake)
  endif()
endfunction()

# The ctest tests of one GoogleTest program: each test case in a process of
# its own, and the whole program once more with its tests shuffled (the seed
# is GTEST_RANDOM_SEED when set, else a new one, printed by the program).
# A program that links orbisan_testdb (tests/testdb) needs the shared MariaDB
# server: its tests require the fixture "MariaDB" and find the server's
# socket in ORB_TEST_MARIADB_SOCKET.
function(orbisan_test_program exe)
  set(uses_db "$<BOOL:$<TARGET_PROPERTY:${exe},ORBISAN_MARIADB>>")
  set(props ENVIRONMENT "ORBISAN_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
            ENVIRONMENT_MODIFICATION "ORB_TEST_MARIADB_SOCKET=set:${ORBISAN_MARIADB_DIR}/mysqld.sock"
            FIXTURES_REQUIRED "$<IF:${uses_db},MariaDB,None>")
  gtest_discover_tests(${exe} DISCOVERY_MODE PRE_TEST NO_PRETTY_VALUES
                       WORKING_DIRECTORY ${CMAKE_BINARY_DIR} PROPERTIES ${props})
  add_test(NAME Shuffled.${exe} COMMAND ${exe} --gtest_shuffle WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
  # A whole program is the longest kind of test: started early (until ctest
  # has timings of its own), it does not hold up the end of a parallel run.
  set_tests_properties(Shuffled.${exe} PROPERTIES ${props} COST 100)
endfunction()

# The fixture "MariaDB": one private server for the whole test run, started
# before the first test that needs it and stopped after the last (also when
# tests failed). Its folder depends on the build tree only, so that the next
# run in the same tree clears whatever an interrupted run left there; it
# lives under /tmp to keep the socket path short.
function(orbisan_mariadb_fixture)
  set(fixture ${CMAKE_SOURCE_DIR}/tests/testdb/testdb_fixture.sh)
  add_test(NAME MariaDB.Start COMMAND bash ${fixture} start ${ORBISAN_MARIADB_DIR}
                                      ${CMAKE_BINARY_DIR}/mariadb-template/data)
  set_tests_properties(MariaDB.Start PROPERTIES FIXTURES_SETUP MariaDB)
  add_test(NAME MariaDB.Stop COMMAND bash ${fixture} stop ${ORBISAN_MARIADB_DIR})
  set_tests_properties(MariaDB.Stop PROPERTIES FIXTURES_CLEANUP MariaDB)
endfunction()
string(MD5 _orbisan_tree "${CMAKE_BINARY_DIR}")
string(SUBSTRING ${_orbisan_tree} 0 12 _orbisan_tree)
set(ORBISAN_MARIADB_DIR /tmp/orb-ctest-${_orbisan_tree})

set(THREADS_PREFER_PTHREAD_FLAG ON)
find_package(Threads REQUIRED)
