# Writes the test unit OUT from the test files listed in FILES (one path a
# line); see cmake/orbisan_unity.cmake. The unit is rewritten only when its
# text changes. Fails, naming the file, on what cannot live in a unit: a
# file-scope `extern` declaration (it would declare a different entity in
# the file's namespace) or a global test environment (it would run for
# every test of the program: such a file needs cmake to be run again, which
# gives it a program of its own).
cmake_minimum_required(VERSION 3.25)
file(STRINGS ${FILES} files)
set(includes "")
set(seen "")
set(body "")
set(index 0)
foreach(file ${files})
  math(EXPR index "${index} + 1")
  get_filename_component(dir ${file} DIRECTORY)
  file(STRINGS ${file} lines REGEX "^([ \t]*#[ \t]*(include|define)[ \t]|extern[ \t]+[^\" \t])|AddGlobalTestEnvironment")
  set(undefs "")
  foreach(line IN LISTS lines)
    set(include "")
    if(line MATCHES "AddGlobalTestEnvironment")
      message(FATAL_ERROR "${file} registers a global test environment: run cmake again "
                          "(the file then gets a program of its own)")
    elseif(line MATCHES "^extern")
      message(FATAL_ERROR "${file}: a file-scope extern declaration (\"${line}\") cannot be "
                          "compiled with other test files: include the header that declares it")
    elseif(line MATCHES "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\"")
      set(header ${CMAKE_MATCH_1})
      if(EXISTS ${dir}/${header})
        set(header ${dir}/${header})
      endif()
      set(include "#include \"${header}\"")
    elseif(line MATCHES "^[ \t]*#[ \t]*include[ \t]*<([^>]+)>")
      set(include "#include <${CMAKE_MATCH_1}>")
    elseif(line MATCHES "^[ \t]*#[ \t]*define[ \t]+([A-Za-z_][A-Za-z0-9_]*)")
      string(APPEND undefs "#undef ${CMAKE_MATCH_1}\n")
      continue()
    endif()
    if(include AND NOT include IN_LIST seen)
      list(APPEND seen "${include}")
      string(APPEND includes "${include}\n")
    endif()
  endforeach()
  string(APPEND body "\nnamespace {\nnamespace orb_unit_file_${index} {\n#include \"${file}\"\n}  // namespace orb_unit_file_${index}\n}  // namespace\n${undefs}")
endforeach()

set(text "// Generated from ${FILES}: these test files compiled as one unit.\n${includes}${body}")
file(WRITE ${OUT}.new "${text}")
file(COPY_FILE ${OUT}.new ${OUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUT}.new)
