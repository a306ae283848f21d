# A suite's test files are compiled a few at a time as one unit: a test file
# is mostly GoogleTest's headers and templates, which one unit parses and
# instantiates once for all of its files instead of once per file.
#
# Each unit is generated at build time (cmake/orbisan_unity_gen.cmake) from
# a list of its files: first every header its files include, then each file
# in an unnamed namespace of its own (so the files' own names never clash)
# with the macros it defines undefined after it. Compiler messages and
# sanitizer reports still name the test file and its lines.
set(ORBISAN_TEST_BATCH 8 CACHE STRING "Test files compiled together as one unit (1: each file alone)")

# Sets `var` to the sources that compile the test files after `var` for
# program `exe`: the generated units, or the files themselves when they are
# compiled one by one.
function(orbisan_unity_units exe var)
  set(files ${ARGN})
  list(LENGTH files count)
  if(ORBISAN_TEST_BATCH LESS_EQUAL 1 OR count LESS 2)
    set(${var} ${files} PARENT_SCOPE)
    return()
  endif()
  set(generator ${CMAKE_SOURCE_DIR}/cmake/orbisan_unity_gen.cmake)
  set(units)
  set(index 0)
  set(first 0)
  while(first LESS count)
    list(SUBLIST files ${first} ${ORBISAN_TEST_BATCH} batch)
    math(EXPR first "${first} + ${ORBISAN_TEST_BATCH}")
    math(EXPR index "${index} + 1")
    set(unit ${CMAKE_BINARY_DIR}/unity/${exe}_${index}.cpp)
    # The list is rewritten only when it changes, so a new file rebuilds only
    # the units whose lists it changes.
    string(REPLACE ";" "\n" listed "${batch}")
    file(CONFIGURE OUTPUT ${unit}.files CONTENT "${listed}\n" @ONLY)
    add_custom_command(OUTPUT ${unit}
                       COMMAND ${CMAKE_COMMAND} -DFILES=${unit}.files -DOUT=${unit} -P ${generator}
                       DEPENDS ${batch} ${unit}.files ${generator}
                       COMMENT "Generating the test unit ${exe}_${index}.cpp"
                       VERBATIM)
    list(APPEND units ${unit})
  endwhile()
  set(${var} ${units} PARENT_SCOPE)
endfunction()
