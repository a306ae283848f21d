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

# The test files tests/<name>/**/*_test.cpp of a suite make one program,
# <name>_tests, compiled in units of ORBISAN_TEST_BATCH files each
# (cmake/orbisan_unity.cmake); each test case is a ctest test. A file that
# registers a global test environment gets a program of its own,
# <name>_<file stem>, so that its environment does not run for the suite's
# other tests. Other .cpp files under tests/<name>/ are shared helpers
# (testhelp_<name>) linked into every program of the suite.
# tests/<name>/deps.cmake adds what the suite's programs need beyond that;
# orbisan_test_target(<name> <file stem> var) names the program that holds
# a test file.
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
  set(shared)
  set(programs)
  foreach(t ${tests})
    file(STRINGS ${t} environment REGEX "AddGlobalTestEnvironment")
    if(environment)
      get_filename_component(stem ${t} NAME_WE)
      orbisan_suite_program(${name} ${name}_${stem} ${t})
      list(APPEND programs ${name}_${stem})
    else()
      list(APPEND shared ${t})
    endif()
  endforeach()
  # One program per unit of ORBISAN_TEST_BATCH files: a test process then
  # loads and starts no more than one unit's tests.
  list(LENGTH shared count)
  set(first 0)
  set(index 0)
  while(first LESS count)
    list(SUBLIST shared ${first} ${ORBISAN_TEST_BATCH} batch)
    math(EXPR first "${first} + ${ORBISAN_TEST_BATCH}")
    math(EXPR index "${index} + 1")
    orbisan_suite_program(${name} ${name}_tests_${index} ${batch})
    list(APPEND programs ${name}_tests_${index})
  endwhile()
  # tests/<name>/deps.cmake may link the helpers to another suite's helpers;
  # `programs` lists the suite's programs.
  if(helpers AND EXISTS ${CMAKE_SOURCE_DIR}/tests/${name}/deps.cmake)
    include(${CMAKE_SOURCE_DIR}/tests/${name}/deps.cmake)
  endif()
endfunction()

# One program of suite `name` from the test files after `exe`: the suite's
# library, its helpers and GoogleTest's main. Records which program holds
# each test file.
function(orbisan_suite_program name exe)
  orbisan_unity_units(${exe} units ${ARGN})
  add_executable(${exe} ${units})
  target_include_directories(${exe} PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
  target_compile_options(${exe} PRIVATE ${ORBISAN_WARNINGS})
  target_link_libraries(${exe} PRIVATE orbisan_${name} GTest::gtest_main GTest::gmock)
  # Not position independent: each test process would otherwise relocate
  # the whole program at start.
  target_link_options(${exe} PRIVATE -no-pie)
  if(TARGET testhelp_${name})
    target_link_libraries(${exe} PRIVATE testhelp_${name})
  endif()
  orbisan_test_program(${exe} SUITE ${name} FILES ${ARGN})
  foreach(t ${ARGN})
    get_filename_component(stem ${t} NAME_WE)
    set_property(GLOBAL PROPERTY ORBISAN_TEST_TARGET_${name}_${stem} ${exe})
  endforeach()
endfunction()

# Sets `var` to the program of suite `name` that holds the test file
# <stem>.cpp (for what one file's tests need: a library, a definition).
function(orbisan_test_target name stem var)
  get_property(exe GLOBAL PROPERTY ORBISAN_TEST_TARGET_${name}_${stem})
  if(NOT exe)
    message(FATAL_ERROR "no test file tests/${name}/**/${stem}.cpp in a program")
  endif()
  set(${var} ${exe} PARENT_SCOPE)
endfunction()

# The ctest tests of one GoogleTest program: each test case in a process of
# its own, and the tests of each test file once more in one process, in
# shuffled order ("Shuffled.<suite>_<file stem>"; the seed is
# GTEST_RANDOM_SEED when set, else a new one, printed by the program).
# FILES are the program's test files (of suite SUITE); when it holds more
# than one, cmake/orbisan_shuffled.py lists each file's tests in a flag file
# once the program is linked, so that a shuffled run is the program alone.
# Every test writes its temporary files to the run's folder (fixture
# "TestTmp", its TMPDIR). A program that links orbisan_testdb (tests/testdb)
# needs the shared MariaDB server: its tests require the fixture "MariaDB"
# and find the server's socket in ORB_TEST_MARIADB_SOCKET.
function(orbisan_test_program exe)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "SUITE" "FILES")
  set(uses_db "$<BOOL:$<TARGET_PROPERTY:${exe},ORBISAN_MARIADB>>")
  set(environment "ORBISAN_SOURCE_DIR=${CMAKE_SOURCE_DIR}" "TMPDIR=${ORBISAN_TEST_TMPDIR}"
                  "ORB_TEST_SHARED_DIR=${ORBISAN_TEST_TMPDIR}.shared")
  set(socket "ORB_TEST_MARIADB_SOCKET=set:${ORBISAN_MARIADB_DIR}/mysqld.sock")
  set(fixtures "TestTmp$<${uses_db}:;MariaDB>")
  gtest_discover_tests(${exe} DISCOVERY_MODE PRE_TEST NO_PRETTY_VALUES WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
  # The discovered tests get their properties once ctest has listed them: a
  # value that is a list does not pass through gtest_discover_tests.
  set(listed ${CMAKE_CURRENT_BINARY_DIR}/${exe}_props.cmake)
  file(GENERATE OUTPUT ${listed} CONTENT "if(${exe}_TESTS)
  set_tests_properties(\${${exe}_TESTS} PROPERTIES ENVIRONMENT [==[${environment}]==]
                       ENVIRONMENT_MODIFICATION [==[${socket}]==] FIXTURES_REQUIRED [==[${fixtures}]==])
endif()
")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${listed})
  set(shuffled)
  set(flags ${CMAKE_BINARY_DIR}/shuffled)
  list(LENGTH arg_FILES count)
  if(count EQUAL 0)
    add_test(NAME Shuffled.${exe} COMMAND ${exe} --gtest_shuffle WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
    set(shuffled Shuffled.${exe})
  endif()
  foreach(t ${arg_FILES})
    get_filename_component(stem ${t} NAME_WE)
    set(test Shuffled.${arg_SUITE}_${stem})
    if(count EQUAL 1)
      add_test(NAME ${test} COMMAND ${exe} --gtest_shuffle WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
    else()
      add_test(NAME ${test}
               COMMAND ${exe} --gtest_shuffle --gtest_flagfile=${flags}/${arg_SUITE}_${stem}.flags
               WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
    endif()
    list(APPEND shuffled ${test})
  endforeach()
  if(count GREATER 1)
    add_custom_command(TARGET ${exe} POST_BUILD
                       COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/cmake/orbisan_shuffled.py
                               $<TARGET_FILE:${exe}> ${flags} ${arg_SUITE} ${arg_FILES}
                       COMMENT "Listing the tests of each file of ${exe}"
                       VERBATIM)
  endif()
  # A file's whole run is the longest kind of test: started early (until
  # ctest has timings of its own), it does not hold up the end of a parallel
  # run.
  set_tests_properties(${shuffled} PROPERTIES ENVIRONMENT "${environment}" ENVIRONMENT_MODIFICATION "${socket}"
                       FIXTURES_REQUIRED "${fixtures}" COST 100)
endfunction()

# The fixture "TestTmp": the folder of the run's temporary files, made
# afresh before the first test and removed after the last; the tests find it
# in TMPDIR (tests/testdb/testdb_tmp.h). Removing it fails when a test left
# something there. Next to it, the folder of what the run's tests share on
# purpose (ORB_TEST_SHARED_DIR), made and removed with it.
function(orbisan_tmp_fixture)
  set(fixture ${CMAKE_SOURCE_DIR}/tests/testdb/testdb_tmp.sh)
  add_test(NAME TestTmp.Start COMMAND bash ${fixture} start ${ORBISAN_TEST_TMPDIR})
  set_tests_properties(TestTmp.Start PROPERTIES FIXTURES_SETUP TestTmp)
  add_test(NAME TestTmp.Stop COMMAND bash ${fixture} stop ${ORBISAN_TEST_TMPDIR})
  set_tests_properties(TestTmp.Stop PROPERTIES FIXTURES_CLEANUP TestTmp)
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
set(ORBISAN_TEST_TMPDIR /tmp/orb-ctest-${_orbisan_tree}-tmp)

set(THREADS_PREFER_PTHREAD_FLAG ON)
find_package(Threads REQUIRED)
