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
    gtest_discover_tests(${exe} DISCOVERY_MODE PRE_TEST NO_PRETTY_VALUES
                         WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
                         PROPERTIES ENVIRONMENT "ORBISAN_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
  endforeach()
  # tests/<name>/deps.cmake may link the helpers to another suite's helpers.
  if(helpers AND EXISTS ${CMAKE_SOURCE_DIR}/tests/${name}/deps.cmake)
    include(${CMAKE_SOURCE_DIR}/tests/${name}/deps.cmake)
  endif()
endfunction()

set(THREADS_PREFER_PTHREAD_FLAG ON)
find_package(Threads REQUIRED)
