# The test locales come from the multibyte tests' data builders.
target_link_libraries(testhelp_kclassic PUBLIC testhelp_mbtext)
# The shared library that the library-loading tests load and resolve.
add_library(KcTestLib SHARED ${CMAKE_SOURCE_DIR}/tests/kclassic/lib/kc_testlib.cc)
set_target_properties(KcTestLib PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/kc_testlib)
add_dependencies(testhelp_kclassic KcTestLib)
target_compile_definitions(testhelp_kclassic PUBLIC KC_TESTLIB_DIR="${CMAKE_BINARY_DIR}/kc_testlib")
# The record tests' data-dictionary table double derives from the
# business-object utilities' table.
target_link_libraries(testhelp_kclassic PUBLIC orbisan_bo)
